#include "gui/widgets/Button.h"

#include "gui/theme/Theme.h"

namespace OKU {

Button::Button(Widget* parent, std::shared_ptr<const Pixmap> pixmap)
    : Button(parent, LString(), std::move(pixmap), PP_CENTER, HAlign::CENTER, VAlign::CENTER)
{
}

Button::Button(Widget* parent, const LString& text, std::shared_ptr<const Pixmap> pixmap,
               WidgetPainter::PixmapPosition position, HAlign halign, VAlign valign)
    : ButtonBase(parent), m_text(text)
{
    setPixmap(std::move(pixmap));
    setPixmapPosition(position);
    setTextHAlign(halign);
    setTextVAlign(valign);
    setRedrawMargins(getMaxOuterMargins());
    setMinHeight(Theme::g()->getSettings().buttonHeight);
}

const LString& Button::getText() const
{
    return m_text;
}

void Button::setText(const LString& text)
{
    if (m_text == text)
        return;
    m_text = text;
    invalidate();
}

void Button::attributeChanged()
{
    invalidate();
}

void Button::draw(Painter& p)
{
    ButtonPainter::draw(p, 0, 0, getWidth(), getHeight(), m_text.str(), isEnabled(), m_down,
                        getLayout());
}

int Button::getAutoMinWidth() const
{
    return getMinSize(m_text.str()).width;
}

int Button::getAutoMinHeight() const
{
    return getMinSize(m_text.str()).height;
}

} // namespace OKU
