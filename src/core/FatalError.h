#ifndef OKU_CORE_FATALERROR_H
#define OKU_CORE_FATALERROR_H

#include <cstdarg>
#include <string>

namespace OKU {

typedef void (*FatalErrorHandler)(const char* message);

/// Stops the program on misuse or an unrecoverable resource problem. Without a
/// handler the message is traced with a backtrace and the process aborts; with
/// one, the handler gets the message and the process ends with _exit(1).
[[noreturn]] void fatalError(const std::string& format, ...);
[[noreturn]] void fatalErrorVa(const std::string& format, va_list args);

void setFatalErrorHandler(FatalErrorHandler handler);
FatalErrorHandler getFatalErrorHandler();

} // namespace OKU

#endif
