#ifndef OKU_CORE_PROCESS_H
#define OKU_CORE_PROCESS_H

#include <string>
#include <vector>

namespace OKU {

/// Runs program with args and waits until it has ended and its pipes are
/// drained. The program text is also argv[0]; a name without "/" is searched
/// in PATH, but callers normally give the full path.
/// The child never sees the caller's standard streams: its standard input
/// receives input (end of file at once when input is empty), its standard
/// output and error go to output and errors when those are given and to
/// /dev/null otherwise. It inherits no descriptor above 2, so it cannot keep
/// the framebuffer or the touch device open.
/// Returns the exit status 0..255, -1 when the program cannot be executed and
/// -2 when it was ended by a signal. Running out of pipes or processes is a
/// fatal error.
int execWait(const std::string& program, const std::vector<std::string>& args,
             std::string* output, const std::string& input, std::string* errors);

} // namespace OKU

#endif
