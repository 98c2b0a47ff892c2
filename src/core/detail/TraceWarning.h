#ifndef OKU_CORE_DETAIL_TRACEWARNING_H
#define OKU_CORE_DETAIL_TRACEWARNING_H

#include <string>

namespace OKU {

/// Reports a problem of the trace facility itself. It goes straight to
/// standard error as timestamp + " [OKU:trace]: " + text, never through the
/// configured outputs, so it can be called while the trace mutex is held.
void traceWarning(const std::string& text);

} // namespace OKU

#endif
