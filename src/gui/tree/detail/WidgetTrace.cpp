#include "gui/tree/detail/WidgetTrace.h"

#include <cstdarg>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>

namespace OKU {

std::string demangledTypeName(const std::type_info& type)
{
    const char* mangled = type.name();
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return status == 0 && demangled ? std::string(demangled.get()) : std::string(mangled);
}

void traceWidgetLine(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    trace__internal("OKU::Widget", TRACE_SILLY, format, args, false);
    va_end(args);
}

} // namespace OKU
