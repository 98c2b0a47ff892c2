#ifndef LIFEBOAT_SIM_JAIL_H
#define LIFEBOAT_SIM_JAIL_H

#include <string>
#include <sys/types.h>
#include <vector>

namespace sim {

// How to run a program so that the device's fixed paths land in the
// simulator's state: in the user namespace of the USB drive's holder (see
// DriveHolder.h), where the caller is root, and in a mount namespace of its
// own made from the holder's, where /mnt is a fresh tmpfs holding boot/
// (bound to bootDir) and an empty extdisk/ mount point, and /var/lib is
// bound to varLibDir. Nothing the program mounts or writes there is seen
// outside; the drive's file system is seen where the holder mounted it.
struct JailSetup {
    std::string program;
    std::vector<std::string> arguments;    // after the program name
    std::vector<std::string> environment;  // "NAME=value", the whole of it
    std::string bootDir;
    std::string varLibDir;
    std::string logFile;                   // standard output and error, appended
    int userNamespace;                     // the holder's, to join
    int mountNamespace;
};

// Starts the program as a child in a process group of its own, killed when
// the calling thread ends, and returns its process id. Throws
// std::runtime_error, naming the step that failed, when the namespace cannot
// be set up or the program cannot be run.
pid_t startJailed(const JailSetup& setup);

} // namespace sim

#endif
