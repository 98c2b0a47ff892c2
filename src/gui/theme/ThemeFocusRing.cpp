#include "gui/theme/Theme.h"

#include "graphics/Painter.h"

namespace OKU {

void Theme::drawFocusRing(Painter& p, const Rect& area) const
{
    p.drawHollowRect(area.x + m_focusRingInset, area.y + m_focusRingInset,
                     area.width - 2 * m_focusRingInset, area.height - 2 * m_focusRingInset,
                     m_focusRingColor, m_focusRingWidth);
}

} // namespace OKU
