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

#include "core/Descriptor.h"
#include "core/FatalError.h"
#include "core/detail/ChildLaunch.h"

namespace OKU {

namespace {

const std::size_t c_readChunk = 8192;

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
    Pipe in;
    Pipe out;
    Pipe err;
    if (!input.empty())
        in = makePipe();
    if (output)
        out = makePipe();
    if (errors)
        err = makePipe();

    ChildLaunch launch;
    launch.program = program;
    launch.args = args;
    launch.standardInput = in.readEnd.get();
    launch.standardOutput = out.writeEnd.get();
    launch.standardError = err.writeEnd.get();
    const LaunchedChild child = launchChild(launch);

    in.readEnd.close();
    out.writeEnd.close();
    err.writeEnd.close();
    setNonBlocking(in.writeEnd);
    setNonBlocking(out.readEnd);
    setNonBlocking(err.readEnd);
    if (child.executed)
        PipePump(in.writeEnd, input, out.readEnd, output, err.readEnd, errors).run();

    // A child still writing must see its readers gone rather than block
    // while it is waited for.
    in.writeEnd.close();
    out.readEnd.close();
    err.readEnd.close();
    const int exitStatus = waitForChild(child.pid);
    if (!child.executed)
        return -1;
    return reportedExitStatus(exitStatus);
}

} // namespace OKU
