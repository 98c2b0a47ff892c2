#ifndef OKU_GUI_TREE_DETAIL_WIDGETTRACE_H
#define OKU_GUI_TREE_DETAIL_WIDGETTRACE_H

#include <string>
#include <typeinfo>

#include "core/Trace.h"
#include "gui/tree/Widget.h"

// The template is instantiated by the widget sources, which are compiled
// with the public classes: the declarations keep its copies out of the shared
// library's exports all the same.
#pragma GCC visibility push(hidden)

namespace OKU {

/// The type name as the type information spells it, demangled; name() has
/// already dropped the '*' that marks types of internal linkage.
std::string demangledTypeName(const std::type_info& type);

/// One line of the category "OKU::Widget" at the level silly.
void traceWidgetLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// Traces a line whose format begins with the widget's type name and address
/// ("...%s[%p]..."). Demangling is costly and invalidation frequent, so the
/// name is only worked out when the global limit can let the line through.
template <class... Args>
void traceWidget(const Widget& w, const char* format, Args... args)
{
    if (TRACE_SILLY <= g_traceGlobalLimit)
        traceWidgetLine(format, demangledTypeName(typeid(w)).c_str(),
                        static_cast<const void*>(&w), args...);
}

} // namespace OKU

#pragma GCC visibility pop

#endif
