#ifndef OKU_GUI_TREE_PROTECTGUARD_H
#define OKU_GUI_TREE_PROTECTGUARD_H

#include "core/NonCopyable.h"
#include "gui/tree/Widget.h"

namespace OKU {

/// Keeps a widget alive while one of its handlers runs, exceptions included.
class ProtectGuard : private NonCopyable {
public:
    explicit ProtectGuard(Widget* w) : m_widget(w) { m_widget->protect(); }
    ~ProtectGuard() { m_widget->unprotect(); }

private:
    Widget* m_widget;
};

} // namespace OKU

#endif
