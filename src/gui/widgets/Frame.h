#ifndef OKU_GUI_WIDGETS_FRAME_H
#define OKU_GUI_WIDGETS_FRAME_H

#include <memory>
#include <vector>

#include "core/Visibility.h"
#include "graphics/Color.h"
#include "gui/tree/ContainerWidget.h"
#include "text/LString.h"

namespace OKU {

class Font;

/// A passive container with a shadowed border and an optional title set into
/// a tab on its top border; the top line runs through the middle of the title
/// band. Its background gets lighter with every frame (or tabbed frame) it is
/// nested in. A left or right title's tab stands on the left or right border
/// (after mirroring for right-to-left layouts); any other alignment centres it.
class Frame : public ContainerWidget {
public:
    static const Color s_defaultFrameColor;
    static const Color s_defaultDisabledFrameColor;
    static const Color s_defaultTextColor;
    static const Color s_defaultDisabledTextColor;
    static const Color s_defaultFrameShadowColor;
    static const int32_t s_defaultFontSize;
    static const int32_t s_defaultTextMargin;
    /// Background colours by nesting depth, outermost first; the theme fills
    /// the list, which must not be empty when a frame is built.
    static std::vector<Color> s_defaultBgColor;

    explicit Frame(Widget* parent);
    Frame(Widget* parent, const LString& title, HAlign titleAlign);

    void setText(const LString& title);
    void setFont(const std::shared_ptr<const Font>& font);
    void setTextColor(const Color& c)
    {
        m_textColor = c;
        invalidate();
    }
    void setFrameColor(const Color& c)
    {
        m_frameColor = c;
        invalidate();
    }
    void setFrameShadowColor(const Color& c)
    {
        m_frameShadowColor = c;
        invalidate();
    }

    /// The background for the frame's nesting depth.
    void initBgColor();

    void getContentOffsets(int& left, int& right, int& top, int& bottom) const override;
    /// Wide enough for the title's tab.
    int getAutoMinWidth() const override;
    /// Opaque inside the border, below the top line.
    bool isSolid(const Rect& r) const override;
    void draw(Painter& p) override;

private:
    /// The colours of one drawing, chosen by the enabled state.
    struct Palette;

    /// The height of the title band: 0 without title.
    OKU_LOCAL int titleHeight() const;
    /// The title, its tab and the top line beside the tab, which runs at y =
    /// h, the middle of the title band.
    OKU_LOCAL void drawTitleTab(Painter& p, const Palette& colors, int h, HAlign align) const;
    /// Sides, bottom and shadow below y = h; a title's tab at the left or
    /// right replaces that side's top.
    OKU_LOCAL void drawBorder(Painter& p, const Palette& colors, int h, bool leftTitle,
                              bool rightTitle) const;

    std::shared_ptr<const Font> m_font;
    int32_t m_textMargin = s_defaultTextMargin;
    LString m_title;
    HAlign m_titleAlign;
    Color m_textColor = s_defaultTextColor;
    Color m_frameColor = s_defaultFrameColor;
    Color m_frameShadowColor = s_defaultFrameShadowColor;
};

} // namespace OKU

#endif
