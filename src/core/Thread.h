#ifndef OKU_CORE_THREAD_H
#define OKU_CORE_THREAD_H

#include <string>

namespace OKU {

// Names the calling thread as ps and /proc show it; the kernel keeps the
// first 15 bytes.
void setThreadName(const std::string& name);

// The calling thread's pthread id in lower-case hexadecimal, for traces.
std::string getThreadID();

} // namespace OKU

#endif
