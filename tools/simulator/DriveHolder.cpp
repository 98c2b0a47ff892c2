#include "DriveHolder.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sched.h>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ChildReport.h"

namespace sim {

namespace {

enum Step {
    NEW_NAMESPACES,
    MAP_GROUPS,
    MAP_USER,
    MAP_GROUP,
    PRIVATE_MOUNTS,
    MOUNT_DRIVE,
};

const char* const c_stepNames[] = {
    "unshare(CLONE_NEWUSER | CLONE_NEWNS)",
    "write /proc/self/setgroups",
    "write /proc/self/uid_map",
    "write /proc/self/gid_map",
    "make the mounts private",
    "mount the drive's tmpfs",
};

const unsigned long c_driveFlags = MS_NOSUID | MS_NODEV;
// Files and directories a drive holds at most.
const long long c_inodes = 16384;
// A remount the program's writes overtake is tried again.
const int c_freezeAttempts = 20;
const size_t c_optionsSize = 96;

typedef char Options[c_optionsSize];

bool writeText(const char* path, const char* text)
{
    const int fd = open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const ssize_t length = static_cast<ssize_t>(strlen(text));
    const bool written = write(fd, text, length) == length;
    const int error = errno;
    close(fd);
    errno = error;
    return written;
}

void formatOptions(Options options, long long bytes, long long inodes, const char* more)
{
    std::snprintf(options, c_optionsSize, "size=%lld,nr_inodes=%lld%s", bytes, inodes, more);
}

// Everything the holder needs, made before the fork.
struct Prepared {
    const char* mountPoint;
    Options mountOptions;
    char userMap[32];
    char groupMap[32];
    int commands;  // the holder's end of the command socket
    int report;    // the set-up report's write end
};

// The holder keeps only its own two descriptors: an inherited one would keep,
// say, a FIFO of the simulator's open for as long as the drive lives.
void closeOthers(const Prepared& prepared)
{
    int kept[] = {prepared.commands, prepared.report};
    std::sort(std::begin(kept), std::end(kept));
    unsigned first = 0;
    for (const int fd : kept) {
        if (static_cast<unsigned>(fd) > first)
            close_range(first, fd - 1, 0);
        first = fd + 1;
    }
    close_range(first, ~0U, 0);
    const int null = open("/dev/null", O_RDWR);
    for (int fd = 0; fd <= 2 && null >= 0; ++fd)
        dup2(null, fd);
    if (null > 2)
        close(null);
}

// Serves remounts until the simulator closes its end or dies.
[[noreturn]] void serve(const Prepared& prepared)
{
    Options options;
    for (;;) {
        const ssize_t n = recv(prepared.commands, options, sizeof options, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n != static_cast<ssize_t>(sizeof options))
            _exit(0);
        options[sizeof options - 1] = '\0';
        const int error =
            mount(nullptr, prepared.mountPoint, nullptr, MS_REMOUNT | c_driveFlags, options) == 0
                ? 0
                : errno;
        [[maybe_unused]] const ssize_t sent =
            send(prepared.commands, &error, sizeof error, MSG_NOSIGNAL);
    }
}

[[noreturn]] void runHolder(const Prepared& prepared, pid_t parent)
{
    // The drive goes with the simulator, however that ends.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(127);
    closeOthers(prepared);
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        reportChildFailure(prepared.report, NEW_NAMESPACES);
    // Group changes must be given up before an unprivileged gid_map is accepted.
    if (!writeText("/proc/self/setgroups", "deny") && errno != ENOENT)
        reportChildFailure(prepared.report, MAP_GROUPS);
    if (!writeText("/proc/self/uid_map", prepared.userMap))
        reportChildFailure(prepared.report, MAP_USER);
    if (!writeText("/proc/self/gid_map", prepared.groupMap))
        reportChildFailure(prepared.report, MAP_GROUP);
    // Otherwise the drive would propagate back to the host.
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        reportChildFailure(prepared.report, PRIVATE_MOUNTS);
    if (mount("lifeboat-usb", prepared.mountPoint, "tmpfs", c_driveFlags,
              prepared.mountOptions) != 0)
        reportChildFailure(prepared.report, MOUNT_DRIVE);
    close(prepared.report);
    serve(prepared);
}

std::runtime_error systemError(const std::string& what)
{
    return std::runtime_error(what + "  " + std::strerror(errno));
}

} // namespace

DriveHolder::DriveHolder(const std::string& mountPoint, long long capacityBytes)
    : m_mountPoint(mountPoint), m_capacity(capacityBytes)
{
    // Options go one way and errors come back as whole messages.
    int commands[2], report[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, commands) != 0)
        throw systemError("Cannot create a socket pair.");
    m_commands = commands[0];
    if (pipe2(report, O_CLOEXEC) != 0) {
        const int error = errno;
        close(commands[1]);
        stop();
        errno = error;
        throw systemError("Cannot create a pipe.");
    }
    // The caller becomes root inside: its own ids map to 0.
    Prepared prepared{m_mountPoint.c_str(), {}, {}, {}, commands[1], report[1]};
    formatOptions(prepared.mountOptions, capacityBytes, c_inodes, ",mode=0755");
    std::snprintf(prepared.userMap, sizeof prepared.userMap, "0 %u 1", getuid());
    std::snprintf(prepared.groupMap, sizeof prepared.groupMap, "0 %u 1", getgid());
    const pid_t parent = getpid();
    // _Fork, not fork: a new user namespace is refused (EINVAL) to a process
    // with threads, and a sanitizer's fork handler starts its own thread again
    // in the child. The holder makes system calls only, so it needs none of
    // the handlers fork would run.
    const pid_t pid = _Fork();
    if (pid == 0)
        runHolder(prepared, parent);
    const int forkError = errno;
    close(commands[1]);
    close(report[1]);
    if (pid < 0) {
        close(report[0]);
        stop();
        errno = forkError;
        throw systemError("Cannot fork.");
    }
    m_pid = pid;
    std::string problem;
    if (const std::optional<ChildFailure> failure = awaitChildReport(report[0])) {
        problem = std::string("Cannot make the USB drive: ") + c_stepNames[failure->step] +
                  " failed.  " + std::strerror(failure->error);
        if (failure->step <= MAP_GROUP)
            problem += "\nThe simulator needs unprivileged user namespaces (on Debian: "
                       "sysctl kernel.unprivileged_userns_clone=1).";
    } else {
        const std::string proc = "/proc/" + std::to_string(m_pid);
        m_userNamespace = open((proc + "/ns/user").c_str(), O_RDONLY | O_CLOEXEC);
        m_mountNamespace = open((proc + "/ns/mnt").c_str(), O_RDONLY | O_CLOEXEC);
        if (m_userNamespace < 0 || m_mountNamespace < 0)
            problem = "Cannot open the USB drive's namespaces.  " + std::string(strerror(errno));
        m_hostPrefix = proc + "/root";
    }
    if (!problem.empty()) {
        stop();
        throw std::runtime_error(problem);
    }
}

DriveHolder::~DriveHolder()
{
    stop();
}

void DriveHolder::stop()
{
    for (int* fd : {&m_commands, &m_userNamespace, &m_mountNamespace}) {
        if (*fd >= 0)
            close(*fd);
        *fd = -1;
    }
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
}

std::string DriveHolder::hostPath(const std::string& path) const
{
    return m_hostPrefix + path;
}

void DriveHolder::replace(long long capacityBytes)
{
    for (const auto& entry : std::filesystem::directory_iterator(hostPath(m_mountPoint)))
        std::filesystem::remove_all(entry.path());
    if (const int error = remount(capacityBytes, c_inodes)) {
        errno = error;
        throw systemError("Cannot give the USB drive " + std::to_string(capacityBytes) +
                          " bytes.");
    }
    m_capacity = capacityBytes;
}

void DriveHolder::thaw()
{
    if (const int error = remount(m_capacity, c_inodes)) {
        errno = error;
        throw systemError("Cannot give the USB drive its room back.");
    }
}

void DriveHolder::freeze()
{
    const std::string drive = hostPath(m_mountPoint);
    for (int attempt = 0; attempt < c_freezeAttempts; ++attempt) {
        struct statvfs use;
        if (statvfs(drive.c_str(), &use) != 0)
            throw systemError("Cannot read the USB drive's use.");
        const long long bytes = static_cast<long long>(use.f_blocks - use.f_bfree) * use.f_frsize;
        const long long inodes = static_cast<long long>(use.f_files - use.f_ffree);
        const int error = remount(std::max<long long>(bytes, use.f_frsize), inodes);
        if (error == 0)
            return;
        // Anything else than a drive that has grown since it was measured.
        if (error != EINVAL) {
            errno = error;
            throw systemError("Cannot take the room of the USB drive.");
        }
    }
    throw std::runtime_error("The USB drive keeps growing; cannot take its room.");
}

int DriveHolder::remount(long long bytes, long long inodes)
{
    Options options;
    formatOptions(options, bytes, inodes, "");
    int error = 0;
    if (send(m_commands, options, sizeof options, MSG_NOSIGNAL) !=
            static_cast<ssize_t>(sizeof options) ||
        recv(m_commands, &error, sizeof error, 0) != static_cast<ssize_t>(sizeof error))
        throw std::runtime_error("The USB drive's holder has gone.");
    return error;
}

} // namespace sim
