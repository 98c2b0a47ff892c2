#ifndef OKU_CORE_FATALERROR_H
#define OKU_CORE_FATALERROR_H

#include <cstdarg>

namespace OKU {

typedef void (*FatalErrorHandler)(const char* message);

/// Stops the program on a programming error (a misuse of the toolkit that no
/// input can cause). Without a handler the message, printf-formatted, is
/// traced with a backtrace and the process aborts; with one, the handler gets
/// the message and the process ends with _exit(1).
[[noreturn]] void fatalError(const char* format, ...) __attribute__((format(printf, 1, 2)));
[[noreturn]] void fatalErrorVa(const char* format, va_list args)
    __attribute__((format(printf, 1, 0)));

void setFatalErrorHandler(FatalErrorHandler handler);
FatalErrorHandler getFatalErrorHandler();

} // namespace OKU

#endif
