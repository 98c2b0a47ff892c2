#include "core/FatalError.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

#include "core/ProcessExit.h"
#include "core/Trace.h"

namespace OKU {

namespace {

std::atomic<FatalErrorHandler> g_fatalErrorHandler(nullptr);

// Passes the arguments on to trace__internal, which takes a va_list.
void traceFatal(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    trace__internal("OKU::fatal_error", TRACE_ERROR, format, args, true);
    va_end(args);
}

} // namespace

void fatalError(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    fatalErrorVa(format, args);
}

void fatalErrorVa(const char* format, va_list args)
{
    char message[1024];
    vsnprintf(message, sizeof message, format, args);

    const FatalErrorHandler handler = g_fatalErrorHandler.load();
    if (handler == nullptr) {
        traceFatal("FATAL ERROR: %s", message);
        traceFlush();
        abort();
    }
    handler(message);
    exitProcess(1);
}

void setFatalErrorHandler(FatalErrorHandler handler)
{
    g_fatalErrorHandler.store(handler);
}

FatalErrorHandler getFatalErrorHandler()
{
    return g_fatalErrorHandler.load();
}

} // namespace OKU
