#include "gui/tree/Widget.h"

#include <algorithm>

namespace OKU {

void Widget::move(int x, int y)
{
    if (x == m_x && y == m_y)
        return;
    invalidate();
    m_x = x;
    m_y = y;
    invalidate();
}

void Widget::center()
{
    move((m_parent->m_width - m_width) / 2, (m_parent->m_height - m_height) / 2);
}

void Widget::center(const Rect& r)
{
    move(r.x + (r.width - m_width) / 2, r.y + (r.height - m_height) / 2);
}

void Widget::setWidth(int w)
{
    resize(w, m_height);
}

void Widget::setHeight(int h)
{
    resize(m_width, h);
}

void Widget::resize(int w, int h)
{
    const Size oldSize = getSize();
    if (w != m_width || h != m_height) {
        invalidate();
        m_width = w;
        m_height = h;
        invalidate();
    }
    // Containers run their sizer here even when the size stayed.
    onResizeCalled(oldSize);
    for (Widget* c : m_children) {
        if (!c->m_destroyed)
            c->onParentResizeCalled(oldSize);
    }
}

void Widget::setGeometry(int x, int y, int w, int h)
{
    move(x, y);
    resize(w, h);
}

void Widget::onResizeCalled(const Size& oldSize)
{
    if (getSize() != oldSize)
        onResized();
}

void Widget::onParentResizeCalled(const Size& oldParentSize)
{
    if (m_parent && m_parent->getSize() != oldParentSize)
        onParentResized();
}

void Widget::minimize(bool w, bool h)
{
    resize(w ? std::min(getMinWidth(), m_parent->m_width) : m_width,
           h ? std::min(getMinHeight(), m_parent->m_height) : m_height);
}

int Widget::getTrueX0() const
{
    if (!m_parent || m_parent->isLTR())
        return m_x;
    return m_parent->m_width - (m_x + m_width);
}

Point Widget::getPositionAbs() const
{
    // The topmost widget is the screen itself and adds nothing.
    Point p;
    for (const Widget* w = this; w->m_parent; w = w->m_parent) {
        p.x += w->getTrueX0();
        p.y += w->m_y;
    }
    return p;
}

} // namespace OKU
