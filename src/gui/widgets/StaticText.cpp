#include "gui/widgets/StaticText.h"

#include <algorithm>

#include "graphics/Painter.h"
#include "gui/theme/Theme.h"
#include "text/Font.h"

namespace OKU {

namespace {

const Color c_disabledTextColor(128, 128, 128, 255);
const Color c_fadeStartColor(255, 255, 255, 0);

} // namespace

StaticText::StaticText(Widget* parent, const LString& text, HAlign halign, VAlign valign)
    : Widget(parent),
      m_font(Theme::g()->getStandardFont(Theme::g()->getSettings().textFontSize)),
      m_textColor(Theme::g()->getSettings().textColor),
      m_text(text),
      m_halign(halign),
      m_valign(valign)
{
    m_interactive = false;
}

void StaticText::setText(const LString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    invalidate();
}

void StaticText::setFont(const std::shared_ptr<const Font>& font)
{
    if (font == m_font)
        return;
    m_font = font;
    invalidate();
}

void StaticText::fadeIn()
{
    if (m_fadeTimer != -1)
        killTimeout(m_fadeTimer);
    m_fadeStep = 0;
    m_fadeSteps = c_fadeSteps;
    m_fadeTimer = addTimeout(c_fadeIntervalMs);
    invalidate();
}

void StaticText::onTimeout(int id)
{
    if (id != m_fadeTimer)
        return;
    ++m_fadeStep;
    invalidate();
    if (m_fadeStep >= m_fadeSteps) {
        killTimeout(m_fadeTimer);
        m_fadeTimer = -1;
    }
}

Color StaticText::drawingColor() const
{
    if (!isEnabled())
        return c_disabledTextColor;
    if (m_fadeStep < m_fadeSteps)
        return Color::mix(c_fadeStartColor, m_fadeSteps - m_fadeStep, m_textColor, m_fadeStep);
    return m_textColor;
}

void StaticText::draw(Painter& p)
{
    Widget::draw(p);
    const Color color = drawingColor();
    const HAlign halign = layoutAlign(getLayout(), m_halign);
    const std::wstring text = m_text.str();
    if (m_lineBreaking)
        p.drawText(0, 0, m_width, m_height, *m_font, text, color, halign, m_valign, m_bidiMode);
    else
        p.drawString(0, 0, m_width, m_height, *m_font, text, color, halign, m_valign, m_bidiMode);
}

int StaticText::getAutoMinWidth() const
{
    return m_font->getTextSize(m_text.str()).width;
}

int StaticText::getAutoMinHeight() const
{
    return std::max(m_font->getTextSize(m_text.str()).height,
                    m_font->getLineSpacing() * m_minNumLines);
}

} // namespace OKU
