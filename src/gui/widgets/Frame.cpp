#include "gui/widgets/Frame.h"

#include <algorithm>

#include "graphics/Painter.h"
#include "gui/theme/Theme.h"
#include "gui/widgets/TabbedFrame.h"
#include "gui/widgets/detail/FrameNesting.h"
#include "text/Font.h"

namespace OKU {

const Color Frame::s_defaultFrameColor(96, 96, 96, 255);
const Color Frame::s_defaultDisabledFrameColor(128, 128, 128, 255);
const Color Frame::s_defaultTextColor(64, 64, 64, 255);
const Color Frame::s_defaultDisabledTextColor(128, 128, 128, 255);
const Color Frame::s_defaultFrameShadowColor(0, 0, 0, 32);
const int32_t Frame::s_defaultFontSize = 16;
const int32_t Frame::s_defaultTextMargin = 7;
std::vector<Color> Frame::s_defaultBgColor;

struct Frame::Palette {
    Color frame;
    Color text;
    Color shadow;
    Color background;
};

namespace {

void fillIfVisible(Painter& p, const Rect& r, const Color& c)
{
    if (c.alpha != 0)
        p.drawSolidRect(r.x, r.y, r.width, r.height, c);
}

} // namespace

Frame::Frame(Widget* parent) : Frame(parent, LString(), HAlign::LEFT)
{
}

Frame::Frame(Widget* parent, const LString& title, HAlign titleAlign)
    : ContainerWidget(parent),
      m_font(Theme::g()->getStandardFont(s_defaultFontSize)),
      m_title(title),
      m_titleAlign(titleAlign)
{
    m_interactive = false;
    setRedrawMargins(Margins(0, 0, 2, 2));
    initBgColor();
}

void Frame::setText(const LString& title)
{
    m_title = title;
    invalidate();
}

void Frame::setFont(const std::shared_ptr<const Font>& font)
{
    m_font = font;
    invalidate();
}

void Frame::initBgColor()
{
    setBgColor(nestedFrameBgColor(getParent(), s_defaultBgColor, "Frame"));
}

int Frame::titleHeight() const
{
    return m_title.empty() ? 0 : m_font->getAscender() + m_font->getDescender();
}

void Frame::getContentOffsets(int& left, int& right, int& top, int& bottom) const
{
    left = right = bottom = 2;
    top = titleHeight() + 2;
}

int Frame::getAutoMinWidth() const
{
    const int containerWidth = ContainerWidget::getAutoMinWidth();
    if (m_title.empty())
        return containerWidth;
    return std::max(containerWidth,
                    m_font->getStringWidth(m_title.str()) + 2 * m_textMargin + 2);
}

bool Frame::isSolid(const Rect& r) const
{
    const int h = titleHeight() / 2;
    return getBgColor().alpha == 255 && Rect(1, h + 1, m_width - 2, m_height - 2 - h).contains(r);
}

void Frame::draw(Painter& p)
{
    const bool enabled = isEnabled();
    const Palette colors{enabled ? m_frameColor : s_defaultDisabledFrameColor,
                         enabled ? m_textColor : s_defaultDisabledTextColor, m_frameShadowColor,
                         getBgColor()};
    const int th = titleHeight();
    const int h = th / 2;

    // Children redraw most often; inside the border nothing else can change.
    const Rect interior(1, th + 1, m_width - 2, m_height - 2 - th);
    if (interior.contains(p.getClipRect())) {
        fillIfVisible(p, interior, colors.background);
        return;
    }
    if (th == 0) {
        fillIfVisible(p, Rect(1, 1, m_width - 2, m_height - 2), colors.background);
        p.drawLine(1, 0, m_width - 2, 0, colors.frame);
        drawBorder(p, colors, 0, false, false);
        return;
    }
    const HAlign align = layoutAlign(getLayout(), m_titleAlign);
    drawTitleTab(p, colors, h, align);
    drawBorder(p, colors, h, align == HAlign::LEFT, align == HAlign::RIGHT);
}

void Frame::drawTitleTab(Painter& p, const Palette& colors, int h, HAlign align) const
{
    const std::wstring title = m_title.str();
    const int tw = m_font->getStringWidth(title);
    const int m = m_textMargin;
    const int w = m_width;
    int tx = (w - tw) / 2;
    if (align == HAlign::LEFT)
        tx = m + 1;
    else if (align == HAlign::RIGHT)
        tx = w - tw - m - 1;
    const int l = tx - m;
    const int r = tx + tw + m;
    const bool leftTitle = align == HAlign::LEFT;
    const bool rightTitle = align == HAlign::RIGHT;

    fillIfVisible(p, Rect(1, h + 1, w - 2, m_height - h - 2), colors.background);
    fillIfVisible(p, Rect(l, 1, tw + 2 * m, h), colors.background);
    p.drawString(tx, 1, w, m_height, *m_font, title, colors.text, HAlign::LEFT, VAlign::TOP, 0);
    if (!rightTitle) {
        p.drawLine(r, h, w - 2, h, colors.frame);
        p.drawLine(r, 2, r, h - 1, colors.frame);
    }
    p.drawLine(l + 1, 0, r - 2, 0, colors.frame);
    if (!leftTitle) {
        p.drawLine(1, h, l - 1, h, colors.frame);
        p.drawLine(l - 1, 2, l - 1, h, colors.frame);
    }
    if (!rightTitle) {
        p.drawLine(r + 1, 3, r + 1, h - 1, colors.shadow);
        p.drawLine(r + 2, 4, r + 2, h - 1, colors.shadow);
    }
    // Rounded tab corners: the frame colour inside, the shadow just outside.
    p.drawPixel(l, 1, colors.frame);
    p.drawPixel(l - 1, 1, colors.shadow);
    p.drawPixel(l, 0, colors.shadow);
    p.drawPixel(r - 1, 1, colors.frame);
    p.drawPixel(r, 1, colors.shadow);
    p.drawPixel(r - 1, 0, colors.shadow);
}

void Frame::drawBorder(Painter& p, const Palette& colors, int h, bool leftTitle,
                       bool rightTitle) const
{
    const int w = m_width;
    const int ht = m_height;
    p.drawLine(0, leftTitle ? 2 : h + 1, 0, ht - 2, colors.frame);
    p.drawLine(w - 1, rightTitle ? 2 : h + 1, w - 1, ht - 2, colors.frame);
    p.drawLine(1, ht - 1, w - 2, ht - 1, colors.frame);

    p.drawLine(w, rightTitle ? 3 : h + 2, w, ht - 1, colors.shadow);
    p.drawLine(w + 1, rightTitle ? 4 : h + 3, w + 1, ht - 1, colors.shadow);
    p.drawLine(2, ht, w + 1, ht, colors.shadow);
    p.drawLine(3, ht + 1, w, ht + 1, colors.shadow);
    if (!leftTitle)
        p.drawPixel(0, h, colors.shadow);
    if (!rightTitle)
        p.drawPixel(w - 1, h, colors.shadow);
    p.drawPixel(0, ht - 1, colors.shadow);
    // Twice, so that the blended corner comes out darker.
    p.drawPixel(w - 1, ht - 1, colors.shadow);
    p.drawPixel(w - 1, ht - 1, colors.shadow);
}

} // namespace OKU
