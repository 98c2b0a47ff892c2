#include "gui/theme/Theme.h"

#include "graphics/Painter.h"

namespace OKU {

void Theme::drawFocusRing(Painter& p, const Rect& area) const
{
    const int inset = m_settings.focusRingInset;
    p.drawHollowRect(area.x + inset, area.y + inset, area.width - 2 * inset,
                     area.height - 2 * inset, m_settings.focusRingColor,
                     m_settings.focusRingWidth);
}

} // namespace OKU
