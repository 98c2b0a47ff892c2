#ifndef LIFEBOAT_SIM_CHILDREPORT_H
#define LIFEBOAT_SIM_CHILDREPORT_H

#include <optional>

namespace sim {

// A forked child that sets up namespaces tells its parent which step failed
// through a pipe; the pipe closing without a report (at exec, or closed by
// the child) means the set-up succeeded. Between fork and exec only system
// calls run: the simulator has threads, and any of them may have held a lock
// at the fork.
struct ChildFailure {
    int step;
    int error;
};

// Writes the step and errno into the pipe and ends the child.
[[noreturn]] void reportChildFailure(int pipe, int step);
// Waits for the child's report and closes the pipe; nothing when the set-up
// succeeded.
std::optional<ChildFailure> awaitChildReport(int pipe);

} // namespace sim

#endif
