#include "Jail.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sched.h>
#include <signal.h>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ChildReport.h"

namespace sim {

namespace {

enum Step {
    JOIN_USER_NAMESPACE,
    JOIN_MOUNT_NAMESPACE,
    NEW_MOUNT_NAMESPACE,
    PRIVATE_MOUNTS,
    MOUNT_TMPFS,
    MAKE_MOUNT_POINTS,
    BIND_BOOT,
    BIND_VAR_LIB,
    WORKING_DIRECTORY,
    OPEN_LOG,
    EXECUTE,
};

const char* const c_stepNames[] = {
    "join the drive's user namespace",
    "join the drive's mount namespace",
    "unshare(CLONE_NEWNS)",
    "make the mounts private",
    "mount a tmpfs on /mnt",
    "create /mnt/boot and /mnt/extdisk",
    "bind the state's boot directory on /mnt/boot",
    "bind the state's varlib directory on /var/lib",
    "return to the working directory",
    "open the log file",
    "execute the program",
};

// Everything the child needs, built before the fork (see ChildReport.h).
struct Prepared {
    std::vector<char*> argv;
    std::vector<char*> envp;
    std::string workingDirectory;
};

[[noreturn]] void runChild(const JailSetup& setup, const Prepared& prepared, pid_t parent, int pipe)
{
    setpgid(0, 0);
    // The device goes off with the simulator, however that ends.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(127);
    if (setns(setup.userNamespace, CLONE_NEWUSER) != 0)
        reportChildFailure(pipe, JOIN_USER_NAMESPACE);
    if (setns(setup.mountNamespace, CLONE_NEWNS) != 0)
        reportChildFailure(pipe, JOIN_MOUNT_NAMESPACE);
    // The program's mounts are its own: the drive's namespace outlives it.
    if (unshare(CLONE_NEWNS) != 0)
        reportChildFailure(pipe, NEW_MOUNT_NAMESPACE);
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        reportChildFailure(pipe, PRIVATE_MOUNTS);
    if (mount("tmpfs", "/mnt", "tmpfs", 0, "mode=0755") != 0)
        reportChildFailure(pipe, MOUNT_TMPFS);
    if (mkdir("/mnt/boot", 0755) != 0 || mkdir("/mnt/extdisk", 0755) != 0)
        reportChildFailure(pipe, MAKE_MOUNT_POINTS);
    if (mount(setup.bootDir.c_str(), "/mnt/boot", nullptr, MS_BIND, nullptr) != 0)
        reportChildFailure(pipe, BIND_BOOT);
    if (mount(setup.varLibDir.c_str(), "/var/lib", nullptr, MS_BIND, nullptr) != 0)
        reportChildFailure(pipe, BIND_VAR_LIB);
    // Joining a mount namespace starts at its root.
    if (chdir(prepared.workingDirectory.c_str()) != 0)
        reportChildFailure(pipe, WORKING_DIRECTORY);
    const int log = open(setup.logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const int input = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (log < 0 || input < 0 || dup2(input, 0) < 0 || dup2(log, 1) < 0 || dup2(log, 2) < 0)
        reportChildFailure(pipe, OPEN_LOG);
    execve(setup.program.c_str(), prepared.argv.data(), prepared.envp.data());
    reportChildFailure(pipe, EXECUTE);
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
    const Prepared prepared = {pointers(setup.program, setup.arguments),
                               pointers("", setup.environment),
                               std::filesystem::current_path().string()};
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
    const std::optional<ChildFailure> failure = awaitChildReport(report[0]);
    if (!failure)
        return pid;
    waitpid(pid, nullptr, 0);
    throw std::runtime_error(std::string("Cannot start \"") + setup.program + "\": " +
                             c_stepNames[failure->step] + " failed.  " +
                             std::strerror(failure->error));
}

} // namespace sim
