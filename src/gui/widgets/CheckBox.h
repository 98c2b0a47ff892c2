#ifndef OKU_GUI_WIDGETS_CHECKBOX_H
#define OKU_GUI_WIDGETS_CHECKBOX_H

#include <array>
#include <memory>
#include <string>

#include "core/Visibility.h"
#include "gui/widgets/ToggleButtonBase.h"
#include "text/LString.h"

namespace OKU {

class Font;
class Pixmap;

/// A toggle button drawn as a box picture with a text beside it. The box sits
/// on the side the alignment and the layout direction give it (isLeftie()):
/// HAlign::LEFT puts it where lines start (left, right on a right-to-left
/// page), HAlign::RIGHT where they end, the text then reading as a label
/// ("Name:") in front of the box. Layout::AUTO takes the direction from the
/// box's own text rather than from the language.
/// The pictures come from the cache as "check_box/...".
class CheckBox : public ToggleButtonBase {
public:
    CheckBox(Widget* parent, const LString& text, bool checked, HAlign align);

    void setText(const LString& text);
    const LString& getText() const { return m_text; }
    void setFont(const std::shared_ptr<const Font>& font);
    void setSpacing(int spacing)
    {
        if (m_spacing == spacing)
            return;
        m_spacing = spacing;
        invalidate();
    }
    int getSpacing() const { return m_spacing; }
    void setPixmaps(std::shared_ptr<const Pixmap> unchecked, std::shared_ptr<const Pixmap> checked,
                    std::shared_ptr<const Pixmap> uncheckedDown,
                    std::shared_ptr<const Pixmap> checkedDown,
                    std::shared_ptr<const Pixmap> uncheckedDisabled,
                    std::shared_ptr<const Pixmap> checkedDisabled);
    /// Whether the box is on the left.
    bool isLeftie() const
    {
        return OKU::isLTR(getLayout(), m_text) != (m_align == HAlign::RIGHT);
    }
    /// The text as shown: with a ":" appended when the box is aligned right.
    std::wstring getFullText() const;

    void draw(Painter& p) override;
    int getAutoMinWidth() const override;
    int getAutoMinHeight() const override;

private:
    /// Indexed by checked + 2 while pressed, + 4 while disabled.
    typedef std::array<std::shared_ptr<const Pixmap>, 6> Boxes;

    OKU_LOCAL const Pixmap& currentBox() const;

    LString m_text;
    std::shared_ptr<const Font> m_font;
    int32_t m_spacing = 5;
    Boxes m_boxes;
    HAlign m_align;
};

} // namespace OKU

#endif
