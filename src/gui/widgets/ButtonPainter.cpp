#include "gui/widgets/ButtonPainter.h"

#include <algorithm>

#include "graphics/Painter.h"
#include "graphics/Pixmap.h"
#include "gui/theme/Theme.h"
#include "gui/tree/Widget.h"
#include "text/Font.h"

namespace OKU {

namespace {

bool sameLooks(const CompositePixmapSet& a, const CompositePixmapSet& b)
{
    return a.getUp() == b.getUp() && a.getUpDisabled() == b.getUpDisabled() &&
           a.getDown() == b.getDown() && a.getDownDisabled() == b.getDownDisabled();
}

} // namespace

ButtonPainter::ButtonPainter()
{
    Theme* theme = Theme::g();
    m_set = theme->getPushButton();
    m_overlayFont = theme->getStandardFont(theme->getSettings().smallFontSize);
    m_overlayMargin = theme->getSettings().overlayMargin;
}

void ButtonPainter::setCompositePixmapSet(const CompositePixmapSet& set)
{
    if (sameLooks(m_set, set))
        return;
    m_set = set;
    attributeChanged();
}

void ButtonPainter::draw(Painter& p, int x, int y, int w, int h, const std::wstring& text,
                         bool enabled, bool down, Layout layout)
{
    const CompositePixmap& look = *m_set.get(enabled, down);
    p.drawCompositePixmap(x, y, w, h, look);
    drawContent(p, x, y, w, h, text, look.getColor(), layout, down ? m_downPixmap : m_pixmap);
    drawOverlay(p, x, y, w, h, look.getColor(), layout);
}

void ButtonPainter::setPixmap(std::shared_ptr<const Pixmap> up, std::shared_ptr<const Pixmap> down)
{
    if (m_pixmap == up && m_downPixmap == down)
        return;
    m_pixmap = std::move(up);
    m_downPixmap = std::move(down);
    attributeChanged();
}

void ButtonPainter::setPixmap(std::shared_ptr<const Pixmap> pixmap)
{
    setPixmap(pixmap, pixmap);
}

void ButtonPainter::setOverlayPixmap(std::shared_ptr<const Pixmap> pixmap, HAlign halign,
                                     VAlign valign)
{
    if (m_overlayPixmap == pixmap && m_overlayText.empty() && m_overlayHAlign == halign &&
        m_overlayVAlign == valign)
        return;
    m_overlayPixmap = std::move(pixmap);
    m_overlayText.clear();
    m_overlayHAlign = halign;
    m_overlayVAlign = valign;
    attributeChanged();
}

void ButtonPainter::setOverlayText(const std::wstring& text, HAlign halign, VAlign valign)
{
    if (m_overlayText == text && !m_overlayPixmap && m_overlayHAlign == halign &&
        m_overlayVAlign == valign)
        return;
    m_overlayText = text;
    m_overlayPixmap.reset();
    m_overlayHAlign = halign;
    m_overlayVAlign = valign;
    attributeChanged();
}

void ButtonPainter::setOverlayMargin(int margin)
{
    update(m_overlayMargin, margin);
}

Size ButtonPainter::getMinSize(const std::wstring& text) const
{
    const Size up = getMinSize(text, m_pixmap);
    const Size down = getMinSize(text, m_downPixmap);
    return Size(std::max(up.width, down.width), std::max(up.height, down.height));
}

Margins ButtonPainter::getMaxOuterMargins() const
{
    Margins result;
    for (const CompositePixmapSet::Pointer& look :
         {m_set.getUp(), m_set.getUpDisabled(), m_set.getDown(), m_set.getDownDisabled()}) {
        const Margins& m = look->getOuterMargins();
        result = Margins(std::max(result.left, m.left), std::max(result.top, m.top),
                         std::max(result.right, m.right), std::max(result.bottom, m.bottom));
    }
    return result;
}

Point ButtonPainter::overlayPosition(int x, int y, int w, int h, const Size& size,
                                     Layout layout) const
{
    Point pos(x + (w - size.width) / 2, y + (h - size.height) / 2);
    switch (layoutAlign(layout, m_overlayHAlign)) {
    case HAlign::LEFT:
        pos.x = x + m_overlayMargin;
        break;
    case HAlign::RIGHT:
        pos.x = x + w - size.width - m_overlayMargin;
        break;
    default:
        break;
    }
    switch (m_overlayVAlign) {
    case VAlign::TOP:
        pos.y = y + m_overlayMargin;
        break;
    case VAlign::BOTTOM:
    case VAlign::BASELINE:
        pos.y = y + h - size.height - m_overlayMargin;
        break;
    default:
        break;
    }
    return pos;
}

void ButtonPainter::drawOverlay(Painter& p, int x, int y, int w, int h, const Color& color,
                                Layout layout)
{
    if (m_overlayPixmap) {
        const Size size(m_overlayPixmap->getWidth(), m_overlayPixmap->getHeight());
        const Point pos = overlayPosition(x, y, w, h, size, layout);
        p.drawPixmap(pos.x, pos.y, *m_overlayPixmap);
    } else if (!m_overlayText.empty()) {
        const Size size = m_overlayFont->getTextSize(m_overlayText);
        const Point pos = overlayPosition(x, y, w, h, size, layout);
        p.drawString(pos.x, pos.y, size.width, size.height, *m_overlayFont, m_overlayText, color,
                     HAlign::LEFT, VAlign::TOP, 0);
    }
}

} // namespace OKU
