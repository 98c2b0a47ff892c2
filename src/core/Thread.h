#ifndef OKU_CORE_THREAD_H
#define OKU_CORE_THREAD_H

#include <functional>
#include <string>

namespace OKU {

/// Names the calling thread as ps and /proc show it; the kernel keeps the
/// first 15 bytes.
void setThreadName(const std::string& name);

/// Runs body on a new thread that nobody joins. A thread the system cannot
/// start (no memory, too many threads) is a fatal error naming it.
void startDetachedThread(const std::function<void()>& body, const std::string& name);

/// The calling thread's pthread id in lower-case hexadecimal, for traces.
std::string getThreadID();

} // namespace OKU

#endif
