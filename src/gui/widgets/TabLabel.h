#ifndef OKU_GUI_WIDGETS_TABLABEL_H
#define OKU_GUI_WIDGETS_TABLABEL_H

#include <cstdint>
#include <memory>

#include "core/Geometry.h"
#include "graphics/Color.h"
#include "gui/widgets/TabbedFrame.h"
#include "text/LString.h"

namespace OKU {

class Font;
class Painter;

/// What a tab shows, shared between the frame and whoever made it. The
/// frame sizes the tab from getMinSize() (margins included) and may shrink it
/// below that when the row is too wide.
class TabbedFrame::Label {
public:
    enum State { ACTIVE = 0, INACTIVE = 1, DISABLED = 2 };

    static constexpr int32_t s_defaultLeftMargin = 10;
    static constexpr int32_t s_defaultRightMargin = 10;
    static constexpr int32_t s_defaultTopMargin = 5;
    static constexpr int32_t s_defaultBottomMargin = 3;
    static constexpr int32_t s_defaultFontSize = 20;

    Label() = default;
    Label(const Label&) = delete;
    Label& operator=(const Label&) = delete;
    virtual ~Label();

    void setMargin(int left, int right, int top, int bottom)
    {
        m_leftMargin = left;
        m_rightMargin = right;
        m_topMargin = top;
        m_bottomMargin = bottom;
    }
    /// left = right = horizontal, top = bottom = vertical.
    void setMargin(int horizontal, int vertical)
    {
        setMargin(horizontal, horizontal, vertical, vertical);
    }
    void setMargin(int margin) { setMargin(margin, margin, margin, margin); }

    virtual Size getMinSize() const = 0;
    /// r is the inside of the tab, without its border.
    virtual void draw(Painter& p, const Rect& r, State state, bool highlighted) const = 0;

    /// The frame's text colour for the state; red marks a state that does not exist.
    static Color getDefaultColor(State state);

protected:
    int32_t m_leftMargin = s_defaultLeftMargin;
    int32_t m_rightMargin = s_defaultRightMargin;
    int32_t m_topMargin = s_defaultTopMargin;
    int32_t m_bottomMargin = s_defaultBottomMargin;
};

/// A one-line text, on the left of its tab (on the right in a right-to-left
/// frame). A text wider than its tab fades out towards the tab's right edge.
/// The frame takes up a new text or font at its next updateTabInfo().
class TabbedFrame::TextLabel : public TabbedFrame::Label {
public:
    /// The theme's standard font at s_defaultFontSize; the frame gives the
    /// direction.
    TextLabel(const TabbedFrame* frame, const LString& text);

    const LString& getText() const { return m_text; }
    void setText(const LString& text) { m_text = text; }
    const std::shared_ptr<const Font>& getFont() const { return m_font; }
    void setFont(const std::shared_ptr<const Font>& font) { m_font = font; }

    Size getMinSize() const override;
    void draw(Painter& p, const Rect& r, State state, bool highlighted) const override;

private:
    const TabbedFrame* m_frame;
    LString m_text;
    std::shared_ptr<const Font> m_font;
};

} // namespace OKU

#endif
