#ifndef OKU_CORE_TRACE_H
#define OKU_CORE_TRACE_H

#include <cstdarg>
#include <string>

namespace OKU {

enum TraceLevel {
    TRACE_ERROR = 0,
    TRACE_WARNING = 1,
    TRACE_INFO = 2,
    TRACE_DEBUG = 3,
    TRACE_FUNCTION = 4,
    TRACE_SILLY = 5
};

/// The largest limit of any output; callers test against it before formatting.
extern int g_traceGlobalLimit;

/// Loads the file named by OKU_TRACECONFIG ("traceconfig.xml" by default) and
/// falls back to a standard-error output at the given level. Always true.
bool traceInit(TraceLevel fallback);
/// Replaces all outputs by those of the configuration file; true on success.
/// A file that is missing, no regular file or larger than
/// c_maxTraceConfigBytes fails without a word and changes nothing.
bool traceInit(const std::string& path);
/// One standard-error output; OKU_TRACEDEFAULT, when set, overrides level.
void traceInitStderr(TraceLevel level);

/// Writes one printf-style message of category at level to every output that
/// accepts it; cheap when the level is above every output's limit.
void traceMessage(const char* category, TraceLevel level, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

/// Whether any output accepts messages of this category and level.
bool traceTest__internal(const char* category, TraceLevel level);
/// Formats the message (cut to 1023 bytes) and writes it to every output that
/// accepts it, followed by the caller's backtrace when asked for. Callers test
/// level <= g_traceGlobalLimit first, as traceMessage does.
void trace__internal(const char* category, TraceLevel level, const char* format, va_list args,
                     bool backtrace);
/// Flushes every output, e.g. before the process is ended abruptly.
void traceFlush();

} // namespace OKU

#endif
