#include "core/detail/ChildLaunch.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/Descriptor.h"
#include "core/FatalError.h"

extern char** environ;

namespace OKU {

namespace {

// Everything the child needs, built before fork: the child of a threaded
// program must not allocate.
struct ChildImage {
    std::vector<std::string> environmentCopy;
    std::vector<char*> argv;
    std::vector<char*> envp;
};

ChildImage prepare(const ChildLaunch& launch)
{
    ChildImage image;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const char* equals = std::strchr(*entry, '=');
        const std::string name(*entry, equals ? equals - *entry + 1 : std::strlen(*entry));
        bool replaced = false;
        for (const std::string& added : launch.environment)
            replaced = replaced || added.compare(0, name.size(), name) == 0;
        if (!replaced)
            image.environmentCopy.push_back(*entry);
    }
    image.environmentCopy.insert(image.environmentCopy.end(), launch.environment.begin(),
                                 launch.environment.end());
    image.argv.push_back(const_cast<char*>(launch.program.c_str()));
    for (const std::string& arg : launch.args)
        image.argv.push_back(const_cast<char*>(arg.c_str()));
    image.argv.push_back(nullptr);
    for (std::string& entry : image.environmentCopy)
        image.envp.push_back(&entry[0]);
    image.envp.push_back(nullptr);
    return image;
}

// Makes source (or /dev/null opened with nullMode when source is -1) the
// standard descriptor target.
void redirect(int source, int target, int nullMode)
{
    const int fd = source >= 0 ? source : open("/dev/null", nullMode);
    if (dup2(fd, target) < 0)
        _exit(127);
}

// Runs in the forked child. On success the status pipe's write end vanishes
// with the exec (close-on-exec), so the parent reads end of file; otherwise
// the parent reads errno from it.
[[noreturn]] void runChild(const ChildLaunch& launch, const ChildImage& image, int statusFd)
{
    if (launch.ownProcessGroup)
        setpgid(0, 0);
    redirect(launch.standardInput, STDIN_FILENO, O_RDONLY);
    redirect(launch.standardOutput, STDOUT_FILENO, O_WRONLY);
    redirect(launch.standardError, STDERR_FILENO, O_WRONLY);
    int keep = -1;
    if (launch.extraDescriptor >= 0) {
        if (dup2(launch.extraDescriptor, launch.extraTarget) < 0)
            _exit(127);
        keep = launch.extraTarget;
    }
    // Nothing else of the parent above the standard streams may survive the
    // exec: a running script must not hold the framebuffer or the touch device.
    const long openMax = sysconf(_SC_OPEN_MAX);
    for (long fd = 3; fd < openMax; ++fd) {
        if (fd != statusFd && fd != keep)
            ::close(static_cast<int>(fd));
    }
    execvpe(image.argv[0], image.argv.data(), image.envp.data());
    const int error = errno;
    if (write(statusFd, &error, sizeof error) < 0) {
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
    } while (n < 0 && errno == EINTR);
    return n == 0;
}

} // namespace

LaunchedChild launchChild(const ChildLaunch& launch)
{
    const ChildImage image = prepare(launch);
    Pipe status = makePipe();
    const pid_t pid = fork();
    if (pid < 0)
        fatalError("fork() failed");
    if (pid == 0)
        runChild(launch, image, status.writeEnd.get());
    // Set here too, so that the group exists before anyone signals it.
    if (launch.ownProcessGroup)
        setpgid(pid, pid);
    status.writeEnd.close();
    return {pid, execSucceeded(status.readEnd)};
}

int reportedExitStatus(int waitStatus)
{
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -2;
}

} // namespace OKU
