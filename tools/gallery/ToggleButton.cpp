#include "ToggleButton.h"

#include "gui/theme/Theme.h"

using namespace OKU;

ToggleButton::ToggleButton(Widget* parent, const LString& text, bool checked, bool sticky)
    : ToggleButtonBase(parent, checked, sticky), m_text(text)
{
    setCompositePixmapSet(Theme::g()->getToggleButton());
    setRedrawMargins(getMaxOuterMargins());
    setMinHeight(Theme::g()->getSettings().buttonHeight);
}

void ToggleButton::attributeChanged()
{
    invalidate();
}

void ToggleButton::draw(Painter& p)
{
    ButtonPainter::draw(p, 0, 0, getWidth(), getHeight(), m_text.str(), isEnabled(),
                        m_checked != m_down, getLayout());
}

int ToggleButton::getAutoMinWidth() const
{
    return getMinSize(m_text.str()).width;
}

int ToggleButton::getAutoMinHeight() const
{
    return getMinSize(m_text.str()).height;
}
