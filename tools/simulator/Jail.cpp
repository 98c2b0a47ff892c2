#include "Jail.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sim {

namespace {

// The child reports a failed step to the parent through a pipe that closes
// when exec succeeds. Between fork and exec only system calls run: the
// simulator has threads, and any of them may have held a lock at the fork.
enum Step {
    NEW_NAMESPACES,
    MAP_GROUPS,
    MAP_USER,
    MAP_GROUP,
    PRIVATE_MOUNTS,
    MOUNT_TMPFS,
    MAKE_MOUNT_POINTS,
    BIND_BOOT,
    BIND_VAR_LIB,
    OPEN_LOG,
    EXECUTE,
};

const char* const c_stepNames[] = {
    "unshare(CLONE_NEWUSER | CLONE_NEWNS)",
    "write /proc/self/setgroups",
    "write /proc/self/uid_map",
    "write /proc/self/gid_map",
    "make the mounts private",
    "mount a tmpfs on /mnt",
    "create /mnt/boot and /mnt/extdisk",
    "bind the state's boot directory on /mnt/boot",
    "bind the state's varlib directory on /var/lib",
    "open the log file",
    "execute the program",
};

struct Failure {
    int step;
    int error;
};

bool writeText(const char* path, const std::string& text)
{
    const int fd = open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const int error = errno;
    close(fd);
    errno = error;
    return written;
}

// Everything the child needs, built before the fork.
struct Prepared {
    std::vector<char*> argv;
    std::vector<char*> envp;
    std::string userMap;
    std::string groupMap;
};

[[noreturn]] void fail(int pipe, Step step)
{
    const Failure failure = {step, errno};
    [[maybe_unused]] const ssize_t n = write(pipe, &failure, sizeof failure);
    _exit(127);
}

[[noreturn]] void runChild(const JailSetup& setup, const Prepared& prepared, pid_t parent, int pipe)
{
    setpgid(0, 0);
    // The device goes off with the simulator, however that ends.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(127);
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        fail(pipe, NEW_NAMESPACES);
    // Group changes must be given up before an unprivileged gid_map is accepted.
    if (!writeText("/proc/self/setgroups", "deny") && errno != ENOENT)
        fail(pipe, MAP_GROUPS);
    if (!writeText("/proc/self/uid_map", prepared.userMap))
        fail(pipe, MAP_USER);
    if (!writeText("/proc/self/gid_map", prepared.groupMap))
        fail(pipe, MAP_GROUP);
    // Otherwise the mounts below would propagate back to the host.
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        fail(pipe, PRIVATE_MOUNTS);
    if (mount("tmpfs", "/mnt", "tmpfs", 0, "mode=0755") != 0)
        fail(pipe, MOUNT_TMPFS);
    if (mkdir("/mnt/boot", 0755) != 0 || mkdir("/mnt/extdisk", 0755) != 0)
        fail(pipe, MAKE_MOUNT_POINTS);
    if (mount(setup.bootDir.c_str(), "/mnt/boot", nullptr, MS_BIND, nullptr) != 0)
        fail(pipe, BIND_BOOT);
    if (mount(setup.varLibDir.c_str(), "/var/lib", nullptr, MS_BIND, nullptr) != 0)
        fail(pipe, BIND_VAR_LIB);
    const int log = open(setup.logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const int input = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (log < 0 || input < 0 || dup2(input, 0) < 0 || dup2(log, 1) < 0 || dup2(log, 2) < 0)
        fail(pipe, OPEN_LOG);
    execve(setup.program.c_str(), prepared.argv.data(), prepared.envp.data());
    fail(pipe, EXECUTE);
}

std::vector<char*> pointers(const std::string& first, const std::vector<std::string>& rest)
{
    std::vector<char*> result;
    if (!first.empty())
        result.push_back(const_cast<char*>(first.c_str()));
    for (const std::string& text : rest)
        result.push_back(const_cast<char*>(text.c_str()));
    result.push_back(nullptr);
    return result;
}

} // namespace

pid_t startJailed(const JailSetup& setup)
{
    // The caller becomes root inside: its own ids map to 0, whoever it is.
    const Prepared prepared = {pointers(setup.program, setup.arguments),
                               pointers("", setup.environment),
                               "0 " + std::to_string(getuid()) + " 1",
                               "0 " + std::to_string(getgid()) + " 1"};
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("Cannot create a pipe.  ") + std::strerror(errno));
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        close(report[0]);
        runChild(setup, prepared, parent, report[1]);
    }
    const int forkError = errno;
    close(report[1]);
    if (pid < 0) {
        close(report[0]);
        throw std::runtime_error(std::string("Cannot fork.  ") + std::strerror(forkError));
    }
    Failure failure;
    ssize_t n;
    do
        n = read(report[0], &failure, sizeof failure);
    while (n < 0 && errno == EINTR);
    close(report[0]);
    if (n != static_cast<ssize_t>(sizeof failure))
        return pid;
    waitpid(pid, nullptr, 0);
    std::string message = std::string("Cannot start \"") + setup.program + "\": " +
                          c_stepNames[failure.step] + " failed.  " +
                          std::strerror(failure.error);
    if (failure.step <= MAP_GROUP)
        message += "\nThe simulator needs unprivileged user namespaces (on Debian: "
                   "sysctl kernel.unprivileged_userns_clone=1).";
    throw std::runtime_error(message);
}

} // namespace sim
