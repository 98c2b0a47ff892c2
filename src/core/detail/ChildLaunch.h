#ifndef OKU_CORE_DETAIL_CHILDLAUNCH_H
#define OKU_CORE_DETAIL_CHILDLAUNCH_H

#include <string>
#include <sys/types.h>
#include <vector>

namespace OKU {

/// How a child program is started: its command line, what its standard
/// streams are connected to (-1: /dev/null) and what else it is given.
struct ChildLaunch {
    std::string program;
    std::vector<std::string> args;
    int standardInput = -1;
    int standardOutput = -1;
    int standardError = -1;
    /// Given to the child as descriptor extraTarget when not -1.
    int extraDescriptor = -1;
    int extraTarget = 3;
    /// "NAME=value" entries added to the caller's environment.
    std::vector<std::string> environment;
    /// The child leads a process group of its own, so that it can be ended
    /// together with everything it starts.
    bool ownProcessGroup = false;
};

/// A started child: its process id, and whether it reached exec (when not,
/// it has already ended with status 0 and must still be waited for).
struct LaunchedChild {
    pid_t pid;
    bool executed;
};

/// Forks and executes. The child inherits no descriptor above 2 but the extra
/// one, so it cannot keep the framebuffer or the touch device open. Running
/// out of pipes or processes is a fatal error.
LaunchedChild launchChild(const ChildLaunch& launch);

/// A status from waitpid as the process calls report it: the exit status
/// 0..255, or -2 for a child ended by a signal.
int reportedExitStatus(int waitStatus);

} // namespace OKU

#endif
