#ifndef OKU_CORE_DETAIL_TRACETIMESTAMP_H
#define OKU_CORE_DETAIL_TRACETIMESTAMP_H

#include <string>

namespace OKU {

/// The wall-clock time in local time as "YYYY-MM-DD hh:mm:ss.mmm", the stamp
/// that starts every trace line and every warning of the trace facility.
std::string traceTimestamp();

} // namespace OKU

#endif
