#ifndef OKU_CORE_DETAIL_BACKTRACE_H
#define OKU_CORE_DETAIL_BACKTRACE_H

#include <string>

namespace OKU {

/// The call stack of the caller's caller as "[bt]: (n) ..." lines, one per
/// frame and each ending in a line break; at most 10 frames are captured and
/// the first two (this function and its caller) are left out.
std::string captureBacktrace();

/// One backtrace line for frame number n and its backtrace_symbols() text.
/// A text of the form module(mangled+offset)rest becomes
/// "module : " + demangled name (the raw name when it does not demangle) +
/// "+" + offset + rest; any other text is kept as it is.
std::string formatBacktraceLine(int n, const std::string& symbol);

} // namespace OKU

#endif
