#include "gui/widgets/CheckBox.h"

#include <algorithm>

#include "graphics/Painter.h"
#include "graphics/Pixmap.h"
#include "gui/theme/Theme.h"
#include "text/Font.h"

namespace OKU {

CheckBox::CheckBox(Widget* parent, const LString& text, bool checked, HAlign align)
    : ToggleButtonBase(parent, checked, false), m_text(text), m_align(align)
{
    Theme* theme = Theme::g();
    m_font = theme->getStandardFont(theme->getSettings().textFontSize);
    Cache& cache = theme->getCache();
    m_boxes = Boxes{cache.getPixmap("check_box/unchecked"),
                    cache.getPixmap("check_box/checked"),
                    cache.getPixmap("check_box/unchecked-down"),
                    cache.getPixmap("check_box/checked-down"),
                    cache.getPixmap("check_box/unchecked-dis"),
                    cache.getPixmap("check_box/checked-dis")};
}

void CheckBox::setText(const LString& text)
{
    if (m_text == text)
        return;
    m_text = text;
    invalidate();
}

void CheckBox::setFont(const std::shared_ptr<const Font>& font)
{
    if (m_font == font)
        return;
    m_font = font;
    invalidate();
}

void CheckBox::setPixmaps(std::shared_ptr<const Pixmap> unchecked,
                          std::shared_ptr<const Pixmap> checked,
                          std::shared_ptr<const Pixmap> uncheckedDown,
                          std::shared_ptr<const Pixmap> checkedDown,
                          std::shared_ptr<const Pixmap> uncheckedDisabled,
                          std::shared_ptr<const Pixmap> checkedDisabled)
{
    m_boxes = Boxes{std::move(unchecked),     std::move(checked),
                    std::move(uncheckedDown), std::move(checkedDown),
                    std::move(uncheckedDisabled), std::move(checkedDisabled)};
    invalidate();
}

std::wstring CheckBox::getFullText() const
{
    std::wstring text = m_text.str();
    if (m_align == HAlign::RIGHT && !text.empty())
        text += L':';
    return text;
}

void CheckBox::draw(Painter& p)
{
    Widget::draw(p);
    const Pixmap& box = currentBox();
    const int boxX = isLeftie() ? 0 : getWidth() - box.getWidth();
    p.drawPixmap(boxX, (getHeight() - box.getHeight()) / 2, box);

    const int textWidth = getWidth() - box.getWidth() - m_spacing;
    const int textX = isLeftie() ? box.getWidth() + m_spacing : 0;
    const Theme* theme = Theme::g();
    p.drawString(textX, 0, textWidth, getHeight(), *m_font, getFullText(),
                 isEnabled() ? theme->getSettings().textColor : theme->getSettings().grayColor,
                 isLeftie() ? HAlign::LEFT : HAlign::RIGHT, VAlign::CENTER, 0);
}

int CheckBox::getAutoMinWidth() const
{
    const std::wstring text = getFullText();
    const int boxWidth = currentBox().getWidth();
    if (text.empty())
        return boxWidth;
    return boxWidth + m_spacing + m_font->getStringWidth(text);
}

int CheckBox::getAutoMinHeight() const
{
    return std::max(m_font->getAscender() + m_font->getDescender(), currentBox().getHeight());
}

const Pixmap& CheckBox::currentBox() const
{
    const int state = !isEnabled() ? 4 : m_down ? 2 : 0;
    return *m_boxes[state + (m_checked ? 1 : 0)];
}

} // namespace OKU
