#include "gui/tree/ContainerWidget.h"

#include "gui/layout/Sizer.h"
#include "gui/theme/Theme.h"

namespace OKU {

namespace {

enum MarginIndex { LEFT = 0, RIGHT = 1, TOP = 2, BOTTOM = 3 };

} // namespace

ContainerWidget::ContainerWidget(Widget* parent) : Widget(parent)
{
    setMargins(Theme::g()->getSettings().containerMargin);
}

ContainerWidget::ContainerWidget(Widget* parent, int x, int y, int w, int h)
    : Widget(parent, x, y, w, h)
{
    setMargins(Theme::g()->getSettings().containerMargin);
}

void ContainerWidget::getContentOffsets(int& left, int& right, int& top, int& bottom) const
{
    left = right = top = bottom = 0;
}

void ContainerWidget::setSizer(const std::shared_ptr<Sizer>& s)
{
    m_sizer = s;
}

std::shared_ptr<Sizer> ContainerWidget::getSizer()
{
    return m_sizer;
}

void ContainerWidget::runSizer()
{
    if (m_sizer)
        m_sizer->fitContainer(this);
}

// Every resize re-runs the sizer, also an unchanged one: children may have
// changed their minimum sizes since the last layout.
void ContainerWidget::onResizeCalled(const Size& oldSize)
{
    runSizer();
    Widget::onResizeCalled(oldSize);
}

int ContainerWidget::getAutoMinWidth() const
{
    int left, right, top, bottom;
    getContentOffsets(left, right, top, bottom);
    const int content = m_sizer ? m_sizer->getMinWidth() : 0;
    return left + m_margins[LEFT] + content + m_margins[RIGHT] + right;
}

int ContainerWidget::getAutoMinHeight() const
{
    int left, right, top, bottom;
    getContentOffsets(left, right, top, bottom);
    const int content = m_sizer ? m_sizer->getMinHeight() : 0;
    return top + m_margins[TOP] + content + m_margins[BOTTOM] + bottom;
}

void ContainerWidget::setMargins(int left, int right, int top, int bottom)
{
    m_margins[LEFT] = left;
    m_margins[RIGHT] = right;
    m_margins[TOP] = top;
    m_margins[BOTTOM] = bottom;
}

Rect ContainerWidget::getContentRect() const
{
    int left, right, top, bottom;
    getContentOffsets(left, right, top, bottom);
    const int x = left + m_margins[LEFT];
    const int y = top + m_margins[TOP];
    return Rect(x, y, m_width - (x + right + m_margins[RIGHT]),
                m_height - (y + bottom + m_margins[BOTTOM]));
}

} // namespace OKU
