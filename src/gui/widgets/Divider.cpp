#include "gui/widgets/Divider.h"

#include "graphics/Painter.h"

namespace OKU {

const Color Divider::s_defaultLineColor(96, 96, 96, 255);

Divider::Divider(Widget* parent, bool horizontal, unsigned margin)
    : Widget(parent), m_horizontal(horizontal), m_margin(margin)
{
    m_interactive = false;
}

void Divider::draw(Painter& p)
{
    Widget::draw(p);
    const int margin = static_cast<int>(m_margin);
    if (m_horizontal)
        p.drawLine(margin, 0, m_width - margin, 0, m_lineColor);
    else
        p.drawLine(0, margin, 0, m_height - margin, m_lineColor);
}

int Divider::getAutoMinWidth() const
{
    return m_horizontal ? 0 : 1;
}

int Divider::getAutoMinHeight() const
{
    return m_horizontal ? 1 : 0;
}

} // namespace OKU
