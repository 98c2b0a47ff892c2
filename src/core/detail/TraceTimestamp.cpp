#include "core/detail/TraceTimestamp.h"

#include <sys/time.h>

#include <cstdio>
#include <ctime>

namespace OKU {

std::string traceTimestamp()
{
    struct timeval now;
    gettimeofday(&now, nullptr);
    const time_t seconds = now.tv_sec;
    struct tm local = {};
    localtime_r(&seconds, &local);

    char text[64];
    snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
             local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
             static_cast<int>(now.tv_usec / 1000));
    return text;
}

} // namespace OKU
