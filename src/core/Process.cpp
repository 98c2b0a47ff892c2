#include "core/Process.h"

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <ctime>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/FatalError.h"

namespace OKU {

namespace {

const std::size_t c_readChunk = 8192;

// Owns one descriptor; -1 means none.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        if (this != &other) {
            close();
            m_fd = other.m_fd;
            other.m_fd = -1;
        }
        return *this;
    }
    ~Descriptor() { close(); }

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    void close()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

private:
    int m_fd = -1;
};

// A pipe whose ends are closed on exec; an absent pipe has both ends closed.
struct Pipe {
    Descriptor readEnd;
    Descriptor writeEnd;
};

Pipe makePipe()
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        fatalError("pipe2() failed");
    Pipe pipe;
    pipe.readEnd = Descriptor(fds[0]);
    pipe.writeEnd = Descriptor(fds[1]);
    return pipe;
}

void setNonBlocking(const Descriptor& fd)
{
    if (!fd.isOpen())
        return;
    int flags = fcntl(fd.get(), F_GETFL);
    if (flags < 0 || fcntl(fd.get(), F_SETFL, flags | O_NONBLOCK) < 0)
        fatalError("fcntl() failed");
}

// Child side: makes source (or /dev/null opened with nullMode when there is
// no pipe) the standard descriptor target.
void redirect(const Descriptor& source, int target, int nullMode)
{
    int fd = source.isOpen() ? source.get() : open("/dev/null", nullMode);
    if (dup2(fd, target) < 0)
        fatalError("dup2()");
    if (!source.isOpen() && fd != target)
        ::close(fd);
}

// Runs in the forked child. On success the status pipe's write end vanishes
// with the exec (close-on-exec), so the parent reads end of file; otherwise
// the parent reads errno from it.
[[noreturn]] void runChild(const std::vector<char*>& argv, Pipe& status, Pipe& in, Pipe& out,
                           Pipe& err)
{
    status.readEnd.close();
    redirect(in.readEnd, STDIN_FILENO, O_RDONLY);
    in.readEnd.close();
    in.writeEnd.close();
    redirect(out.writeEnd, STDOUT_FILENO, O_WRONLY);
    redirect(err.writeEnd, STDERR_FILENO, O_WRONLY);

    // Nothing of the parent above the standard streams may survive the exec:
    // a running script must not hold the framebuffer or the touch device.
    const long openMax = sysconf(_SC_OPEN_MAX);
    for (long fd = 3; fd < openMax; ++fd) {
        if (fd != status.writeEnd.get())
            ::close(static_cast<int>(fd));
    }

    execvp(argv[0], argv.data());
    const int error = errno;
    if (write(status.writeEnd.get(), &error, sizeof error) < 0) {
        // The parent then takes the exit status 0 as the program's; nothing
        // better can be done here.
    }
    _exit(0);
}

// True when the child reached exec; reading end of file proves it.
bool execSucceeded(const Descriptor& status)
{
    int error = 0;
    ssize_t n;
    do {
        n = read(status.get(), &error, sizeof error);
    } while (n < 0 && (errno == EAGAIN || errno == EINTR));
    return n == 0;
}

int waitForChild(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            fatalError("waitpid() failed");
    }
    return status;
}

// write(2) that reports a reader gone as EPIPE instead of letting SIGPIPE end
// the whole program: the signal is blocked for this thread during the write,
// and a SIGPIPE raised by it is taken out of the pending set again.
ssize_t writeWithoutSigpipe(int fd, const char* data, std::size_t size)
{
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigset_t previousMask;
    if (pthread_sigmask(SIG_BLOCK, &pipeSignal, &previousMask) != 0)
        fatalError("pthread_sigmask");
    sigset_t pending;
    sigpending(&pending);
    const bool alreadyPending = sigismember(&pending, SIGPIPE) == 1;

    const ssize_t n = write(fd, data, size);
    const int writeError = errno;
    if (n < 0 && writeError == EPIPE && !alreadyPending) {
        const timespec noWait = {0, 0};
        sigtimedwait(&pipeSignal, nullptr, &noWait);
    }
    if (pthread_sigmask(SIG_SETMASK, &previousMask, nullptr) != 0)
        fatalError("pthread_sigmask");
    errno = writeError;
    return n;
}

bool isTransient(int error)
{
    return error == EAGAIN || error == EINTR;
}

// Moves input into the child and the child's output into the captures until
// every pipe is finished. A pipe is finished at end of file, on hang-up or
// on an error; the others are still served, so output written by a child
// that stopped reading its input is not lost.
class PipePump {
public:
    PipePump(Descriptor& in, const std::string& input, Descriptor& out, std::string* output,
             Descriptor& err, std::string* errors)
        : m_input(input), m_pipes{&in, &out, &err}, m_captures{nullptr, output, errors}
    {
    }
    PipePump(const PipePump&) = delete;
    PipePump& operator=(const PipePump&) = delete;

    void run()
    {
        pollfd slots[c_slotCount];
        while (prepare(slots)) {
            if (poll(slots, c_slotCount, -1) < 1)
                fatalError("poll() failed");
            serveInput(slots[c_inputSlot].revents);
            for (int slot = c_inputSlot + 1; slot < c_slotCount; ++slot)
                serveOutput(slot, slots[slot].revents);
        }
    }

private:
    static const int c_slotCount = 3;
    static const int c_inputSlot = 0;

    // Fills the poll slots; false when no pipe is left.
    bool prepare(pollfd* slots) const
    {
        bool anyOpen = false;
        for (int slot = 0; slot < c_slotCount; ++slot) {
            slots[slot].fd = m_pipes[slot]->get();
            slots[slot].events = slot == c_inputSlot ? POLLOUT : POLLIN;
            slots[slot].revents = 0;
            anyOpen = anyOpen || slots[slot].fd >= 0;
        }
        return anyOpen;
    }

    void serveInput(short events)
    {
        Descriptor& pipe = *m_pipes[c_inputSlot];
        if (events & POLLOUT) {
            const ssize_t n = writeWithoutSigpipe(pipe.get(), m_input.data() + m_written,
                                                  m_input.size() - m_written);
            if (n >= 0)
                m_written += static_cast<std::size_t>(n);
            // Once everything is written, closing gives the child end of file.
            if ((n < 0 && !isTransient(errno)) || m_written == m_input.size())
                pipe.close();
        } else if (events & (POLLERR | POLLHUP | POLLNVAL)) {
            pipe.close();
        }
    }

    void serveOutput(int slot, short events)
    {
        Descriptor& pipe = *m_pipes[slot];
        if (events & POLLIN) {
            char buffer[c_readChunk];
            const ssize_t n = read(pipe.get(), buffer, sizeof buffer);
            if (n > 0)
                m_captures[slot]->append(buffer, static_cast<std::size_t>(n));
            else if (n == 0 || !isTransient(errno))
                pipe.close();
        } else if (events & (POLLERR | POLLHUP | POLLNVAL)) {
            pipe.close();
        }
    }

    const std::string& m_input;
    std::size_t m_written = 0;
    Descriptor* m_pipes[c_slotCount];
    std::string* m_captures[c_slotCount];
};

} // namespace

int execWait(const std::string& program, const std::vector<std::string>& args,
             std::string* output, const std::string& input, std::string* errors)
{
    // Built before fork: the child of a threaded program should not allocate.
    std::vector<char*> argv;
    argv.reserve(args.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    Pipe status = makePipe();
    Pipe in;
    Pipe out;
    Pipe err;
    if (!input.empty())
        in = makePipe();
    if (output)
        out = makePipe();
    if (errors)
        err = makePipe();

    const pid_t pid = fork();
    if (pid < 0)
        fatalError("fork() failed");
    if (pid == 0)
        runChild(argv, status, in, out, err);

    status.writeEnd.close();
    in.readEnd.close();
    out.writeEnd.close();
    err.writeEnd.close();
    setNonBlocking(in.writeEnd);
    setNonBlocking(out.readEnd);
    setNonBlocking(err.readEnd);

    const bool started = execSucceeded(status.readEnd);
    status.readEnd.close();
    if (started)
        PipePump(in.writeEnd, input, out.readEnd, output, err.readEnd, errors).run();

    // A child still writing must see its readers gone rather than block
    // while it is waited for.
    in.writeEnd.close();
    out.readEnd.close();
    err.readEnd.close();
    const int exitStatus = waitForChild(pid);
    if (!started)
        return -1;
    return WIFEXITED(exitStatus) ? WEXITSTATUS(exitStatus) : -2;
}

} // namespace OKU
