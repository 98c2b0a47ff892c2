#include "gui/widgets/WidgetPainter.h"

#include <algorithm>

#include "graphics/Painter.h"
#include "graphics/Pixmap.h"
#include "gui/theme/Theme.h"
#include "gui/tree/Widget.h"
#include "text/Font.h"

namespace OKU {

namespace {

// Free space is split evenly, truncating toward zero, also when it is negative.
int centred(int start, int space, int size)
{
    return start + (space - size) / 2;
}

WidgetPainter::PixmapPosition mirrored(WidgetPainter::PixmapPosition position)
{
    switch (position) {
    case WidgetPainter::PP_LEFT:
        return WidgetPainter::PP_RIGHT;
    case WidgetPainter::PP_RIGHT:
        return WidgetPainter::PP_LEFT;
    case WidgetPainter::PP_LEFT_OF_TEXT:
        return WidgetPainter::PP_RIGHT_OF_TEXT;
    case WidgetPainter::PP_RIGHT_OF_TEXT:
        return WidgetPainter::PP_LEFT_OF_TEXT;
    default:
        return position;
    }
}

bool isGroup(WidgetPainter::PixmapPosition position)
{
    return position >= WidgetPainter::PP_LEFT_OF_TEXT && position <= WidgetPainter::PP_BELOW_TEXT;
}

} // namespace

WidgetPainter::WidgetPainter()
{
    Theme* theme = Theme::g();
    m_font = theme->getStandardFont(theme->getSettings().textFontSize);
    m_margins = Margins(theme->getSettings().painterHorizMargin, theme->getSettings().painterVertMargin,
                        theme->getSettings().painterHorizMargin, theme->getSettings().painterVertMargin);
    m_pixmapMargin = theme->getSettings().painterPixmapMargin;
}

WidgetPainter::~WidgetPainter() = default;

void WidgetPainter::setFont(const std::shared_ptr<const Font>& font)
{
    update(m_font, font);
}

std::shared_ptr<const Font> WidgetPainter::getFont() const
{
    return m_font;
}

void WidgetPainter::setMargin(int left, int right, int top, int bottom)
{
    update(m_margins, Margins(left, top, right, bottom));
}

void WidgetPainter::setPixmapMargin(int margin)
{
    update(m_pixmapMargin, margin);
}

Size WidgetPainter::getMinSize(const std::wstring& text) const
{
    return getMinSize(text, m_pixmap);
}

void WidgetPainter::draw(Painter& p, int x, int y, int w, int h, const std::wstring& text,
                         const Color& textColor, Layout layout)
{
    drawContent(p, x, y, w, h, text, textColor, layout, m_pixmap);
}

void WidgetPainter::setPixmap(std::shared_ptr<const Pixmap> pixmap)
{
    update(m_pixmap, pixmap);
}

void WidgetPainter::setPixmapPosition(PixmapPosition position)
{
    update(m_pixmapPosition, position);
}

void WidgetPainter::setTextHAlign(HAlign align)
{
    update(m_textHAlign, align);
}

void WidgetPainter::setTextVAlign(VAlign align)
{
    update(m_textVAlign, align);
}

void WidgetPainter::calcPositions(int x, int y, int w, int h, const std::wstring& text,
                                  Layout layout, const std::shared_ptr<const Pixmap>& pixmap)
{
    const Rect inner(x + m_margins.left, y + m_margins.top, w - m_margins.left - m_margins.right,
                     h - m_margins.top - m_margins.bottom);
    m_textBox = inner;
    if (!pixmap) {
        m_pixmapTopLeft = inner.topLeft();
        return;
    }
    const int pw = pixmap->getWidth();
    const int ph = pixmap->getHeight();
    const int gap = m_pixmapMargin;
    PixmapPosition position = isLTR(layout, text) ? m_pixmapPosition : mirrored(m_pixmapPosition);
    if (text.empty() && isGroup(position))
        position = PP_CENTER;
    const Point centre(centred(inner.x, inner.width, pw), centred(inner.y, inner.height, ph));
    const Size textSize = isGroup(position) ? m_font->getTextSize(text) : Size();
    switch (position) {
    case PP_LEFT:
        m_pixmapTopLeft = Point(inner.x, centre.y);
        m_textBox = Rect(inner.x + pw + gap, inner.y, inner.width - pw - gap, inner.height);
        break;
    case PP_RIGHT:
        m_pixmapTopLeft = Point(inner.right() - pw, centre.y);
        m_textBox.width = inner.width - pw - gap;
        break;
    case PP_TOP:
        m_pixmapTopLeft = Point(centre.x, inner.y);
        m_textBox = Rect(inner.x, inner.y + ph + gap, inner.width, inner.height - ph - gap);
        break;
    case PP_BOTTOM:
        m_pixmapTopLeft = Point(centre.x, inner.bottom() - ph);
        m_textBox.height = inner.height - ph - gap;
        break;
    case PP_LEFT_OF_TEXT:
    case PP_RIGHT_OF_TEXT: {
        const int left = centred(inner.x, inner.width, pw + gap + textSize.width);
        const bool pixmapFirst = position == PP_LEFT_OF_TEXT;
        m_pixmapTopLeft = Point(pixmapFirst ? left : left + textSize.width + gap, centre.y);
        m_textBox = Rect(pixmapFirst ? left + pw + gap : left,
                         centred(inner.y, inner.height, textSize.height), textSize.width,
                         textSize.height);
        break;
    }
    case PP_ABOVE_TEXT:
    case PP_BELOW_TEXT: {
        const int top = centred(inner.y, inner.height, ph + gap + textSize.height);
        const bool pixmapFirst = position == PP_ABOVE_TEXT;
        m_pixmapTopLeft = Point(centre.x, pixmapFirst ? top : top + textSize.height + gap);
        m_textBox = Rect(centred(inner.x, inner.width, textSize.width),
                         pixmapFirst ? top + ph + gap : top, textSize.width, textSize.height);
        break;
    }
    default:
        m_pixmapTopLeft = centre;
        break;
    }
}

Size WidgetPainter::getMinSize(const std::wstring& text,
                               const std::shared_ptr<const Pixmap>& pixmap) const
{
    const Size textSize = m_font->getTextSize(text);
    Size content = textSize;
    if (pixmap) {
        const Size pixmapSize(pixmap->getWidth(), pixmap->getHeight());
        const Size beside(textSize.width + pixmapSize.width + m_pixmapMargin,
                          std::max(textSize.height, pixmapSize.height));
        const Size stacked(std::max(textSize.width, pixmapSize.width),
                           textSize.height + pixmapSize.height + m_pixmapMargin);
        if (text.empty())
            content = pixmapSize;
        else if (m_pixmapPosition == PP_CENTER)
            content = Size(stacked.width, beside.height);
        else if (m_pixmapPosition == PP_TOP || m_pixmapPosition == PP_BOTTOM ||
                 m_pixmapPosition == PP_ABOVE_TEXT || m_pixmapPosition == PP_BELOW_TEXT)
            content = stacked;
        else
            content = beside;
    }
    return Size(content.width + m_margins.left + m_margins.right,
                content.height + m_margins.top + m_margins.bottom);
}

void WidgetPainter::drawContent(Painter& p, int x, int y, int w, int h, const std::wstring& text,
                                const Color& textColor, Layout layout,
                                const std::shared_ptr<const Pixmap>& pixmap)
{
    calcPositions(x, y, w, h, text, layout, pixmap);
    if (pixmap)
        p.drawPixmap(m_pixmapTopLeft.x, m_pixmapTopLeft.y, *pixmap);
    p.drawString(m_textBox.x, m_textBox.y, m_textBox.width, m_textBox.height, *m_font, text,
                 textColor, layoutAlign(layout, m_textHAlign, text), m_textVAlign, 0);
}

} // namespace OKU
