#ifndef OKU_GUI_WIDGETS_DIVIDER_H
#define OKU_GUI_WIDGETS_DIVIDER_H

#include "graphics/Color.h"
#include "gui/tree/Widget.h"

namespace OKU {

/// A passive one-pixel line along the top (horizontal) or left (vertical)
/// edge of the widget, leaving margin pixels free at both ends.
class Divider : public Widget {
public:
    static const Color s_defaultLineColor;

    Divider(Widget* parent, bool horizontal, unsigned margin);

    void setMargin(int margin)
    {
        m_margin = margin;
        invalidate();
    }
    void setLineColor(const Color& c)
    {
        m_lineColor = c;
        invalidate();
    }

    void draw(Painter& p) override;
    /// One pixel across the line, nothing along it.
    int getAutoMinWidth() const override;
    int getAutoMinHeight() const override;

private:
    bool m_horizontal;
    uint32_t m_margin;
    Color m_lineColor = s_defaultLineColor;
};

} // namespace OKU

#endif
