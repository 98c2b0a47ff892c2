#include "gui/tree/Widget.h"

#include "core/FatalError.h"
#include "gui/tree/RootWidget.h"
#include "gui/tree/detail/WidgetTrace.h"

namespace OKU {

const Color Widget::s_defaultFrameColor(96, 96, 96, 255);
const Color Widget::s_defaultDisabledFrameColor(128, 128, 128, 255);
const Color Widget::s_defaultShadowColor(0, 0, 0, 32);

Widget::Widget(Widget* parent, int x, int y, int w, int h)
    : m_parent(parent), m_x(x), m_y(y), m_width(w), m_height(h)
{
    if (m_parent) {
        m_parent->linkChild(this);
        m_parent->notifyDescendantCreated();
    }
}

Widget::~Widget()
{
    if (m_protectCount != 0)
        fatalError("Widget::~Widget() protected.");
    killAllTimeouts();
}

RootWidget* Widget::getRoot()
{
    Widget* top = this;
    while (top->m_parent)
        top = top->m_parent;
    return dynamic_cast<RootWidget*>(top);
}

const RootWidget* Widget::getRoot() const
{
    const Widget* top = this;
    while (top->m_parent)
        top = top->m_parent;
    return dynamic_cast<const RootWidget*>(top);
}

void Widget::setLayout(Layout l)
{
    m_layout = l;
}

Layout Widget::getLayout() const
{
    return m_layout;
}

// The base reactions: subclasses override the events they care about.

void Widget::onCreation() {}

void Widget::onResized() {}

void Widget::onParentResized() {}

void Widget::onMouseDown(int, int) {}

void Widget::onMouseUp(int, int) {}

void Widget::onMouseMove(int, int) {}

bool Widget::onKey(KeyCode, wchar_t)
{
    return false;
}

bool Widget::onKeyIntercept(KeyCode, wchar_t)
{
    return false;
}

void Widget::onTimeout(int) {}

void Widget::onNotification(int) {}

int Widget::getAutoMinWidth() const
{
    return 0;
}

int Widget::getAutoMinHeight() const
{
    return 0;
}

} // namespace OKU
