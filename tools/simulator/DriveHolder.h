#ifndef LIFEBOAT_SIM_DRIVEHOLDER_H
#define LIFEBOAT_SIM_DRIVEHOLDER_H

#include <string>
#include <sys/types.h>

namespace sim {

// The simulated USB drive: a tmpfs of a given capacity, mounted on a
// directory of the simulator's state inside a user and mount namespace that
// a small process of the simulator's holds for as long as the simulator
// runs. Every start of the program joins these namespaces (see Jail.h), so
// the drive is a file system of its own, its contents outlive the program,
// and the host never has it mounted. The host reaches the drive through the
// holder's root, /proc/PID/root. The caller is root inside, whoever it is.
class DriveHolder {
public:
    // A new, empty drive on the directory mountPoint (absolute). Throws
    // std::runtime_error, naming the failed step, when it cannot be set up.
    DriveHolder(const std::string& mountPoint, long long capacityBytes);
    DriveHolder(const DriveHolder&) = delete;
    DriveHolder& operator=(const DriveHolder&) = delete;
    // The drive is gone with its holder.
    ~DriveHolder();

    // The holder's namespaces, to be joined with setns.
    int userNamespace() const { return m_userNamespace; }
    int mountNamespace() const { return m_mountNamespace; }
    // The absolute path as the holder, and so the program, sees it, reached
    // from this process.
    std::string hostPath(const std::string& path) const;
    const std::string& hostPrefix() const { return m_hostPrefix; }

    // Empties the drive and gives it a new capacity.
    void replace(long long capacityBytes);
    // Gives the drive its room back after freeze.
    void thaw();
    // Leaves the drive no room beyond what it holds: every later write that
    // needs a new block and every new file fails, as on a pulled stick, also
    // for files the program already has open. Reading and removing still
    // work. (A drive that holds no data at all keeps room for one page: a
    // tmpfs of size 0 has no limit.)
    void freeze();

private:
    // Changes the tmpfs's limits; returns the error, 0 on success.
    int remount(long long bytes, long long inodes);
    // Ends the holder, and with it the drive.
    void stop();

    std::string m_mountPoint;
    long long m_capacity;
    pid_t m_pid = -1;
    // To the holder: mount options to remount with; back: the errno, 0 for success.
    int m_commands = -1;
    int m_userNamespace = -1;
    int m_mountNamespace = -1;
    std::string m_hostPrefix;
};

} // namespace sim

#endif
