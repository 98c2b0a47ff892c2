#include "gui/widgets/StaticPixmap.h"

#include "graphics/Painter.h"
#include "graphics/Pixmap.h"
#include "gui/theme/Theme.h"

namespace OKU {

StaticPixmap::StaticPixmap(Widget* parent, const std::shared_ptr<const Pixmap>& pixmap,
                           bool stretch, bool keepAspect)
    : Widget(parent), m_pixmap(pixmap), m_stretch(stretch), m_keepAspect(keepAspect)
{
    m_interactive = false;
}

void StaticPixmap::setPixmap(const std::shared_ptr<const Pixmap>& pixmap)
{
    if (pixmap == m_pixmap)
        return;
    m_pixmap = pixmap;
    invalidate();
}

void StaticPixmap::setDisabledPixmap(const std::shared_ptr<const Pixmap>& pixmap)
{
    if (pixmap == m_disabledPixmap)
        return;
    m_disabledPixmap = pixmap;
    invalidate();
}

void StaticPixmap::enableFrame(bool on)
{
    if (on == m_frame)
        return;
    // Before the margins shrink, so that a vanishing shadow is repainted.
    invalidate();
    m_frame = on;
    setRedrawMargins(Margins(0, 0, on ? 1 : 0, on ? 1 : 0));
    invalidate();
}

int StaticPixmap::getAutoMinWidth() const
{
    return (m_pixmap ? m_pixmap->getWidth() : 0) + frameWidth();
}

int StaticPixmap::getAutoMinHeight() const
{
    return (m_pixmap ? m_pixmap->getHeight() : 0) + frameWidth();
}

// The grey look is asked of the theme's cache rather than kept here: the
// cache makes it once per picture, and a later setPixmap() can then never
// leave the grey form of the previous picture behind.
std::shared_ptr<const Pixmap> StaticPixmap::currentPicture() const
{
    if (isEnabled() || !m_pixmap)
        return m_pixmap;
    if (m_disabledPixmap)
        return m_disabledPixmap;
    return Theme::g()->getCache().getDisabled(m_pixmap);
}

Rect StaticPixmap::placePicture(const Rect& area, const Pixmap& picture) const
{
    const int width = picture.getWidth();
    const int height = picture.getHeight();
    if (!m_stretch)
        return Rect(area.x + (area.width - width) / 2, area.y + (area.height - height) / 2, width,
                    height);
    if (!m_keepAspect)
        return area;
    const double horizontal = static_cast<double>(area.width) / width;
    const double vertical = static_cast<double>(area.height) / height;
    if (horizontal < vertical) {
        const int scaledHeight = static_cast<int>(horizontal * height);
        return Rect(area.x, area.y + static_cast<int>((area.height - scaledHeight) * 0.5),
                    area.width, scaledHeight);
    }
    const int scaledWidth = static_cast<int>(vertical * width);
    return Rect(area.x + static_cast<int>((area.width - scaledWidth) * 0.5), area.y, scaledWidth,
                area.height);
}

void StaticPixmap::draw(Painter& p)
{
    const Color background = getBgColor();
    if (background.alpha != 0)
        p.drawSolidRect(1, 1, m_width - 2, m_height - 2, background);
    Rect area(0, 0, m_width, m_height);
    if (m_frame) {
        drawShadowFrame(p, 0, 0, m_width, m_height);
        area = Rect(1, 1, m_width - 2, m_height - 2);
    }
    const std::shared_ptr<const Pixmap> picture = currentPicture();
    if (!picture)
        return;
    const Rect r = placePicture(area, *picture);
    if (m_stretch)
        p.drawPixmap(r.x, r.y, r.width, r.height, *picture);
    else
        p.drawPixmap(r.x, r.y, *picture);
}

} // namespace OKU
