#include "core/detail/TraceWarning.h"

#include <cstdio>

#include "core/detail/TraceTimestamp.h"

namespace OKU {

void traceWarning(const std::string& text)
{
    fprintf(stderr, "%s [OKU:trace]: %s\n", traceTimestamp().c_str(), text.c_str());
}

} // namespace OKU
