#ifndef OKU_GUI_WIDGETS_PROGRESSBAR_H
#define OKU_GUI_WIDGETS_PROGRESSBAR_H

#include "core/Visibility.h"
#include "graphics/Color.h"
#include "gui/tree/Widget.h"

namespace OKU {

/// A horizontal bar showing how much of some work is done. When the amount is
/// unknown it shows a block that moves back and forth one step per call of
/// pulse(), so that the operator still sees that the work goes on; the block
/// has a colour of its own, so that it is never taken for an amount. The bar
/// fills from the right on right-to-left pages.
class ProgressBar : public Widget {
public:
    static const Color s_defaultFrameColor;
    static const Color s_defaultTroughColor;
    static const Color s_defaultBarColor;
    static const Color s_defaultPulseColor;
    static const int32_t s_defaultHeight;

    explicit ProgressBar(Widget* parent);

    /// done of total; a total of 0 makes the amount unknown. done above total
    /// shows a full bar.
    void setProgress(unsigned long long done, unsigned long long total);
    /// Moves the block of an unknown amount on.
    void pulse();
    void setBarColor(const Color& c)
    {
        m_barColor = c;
        invalidate();
    }

    /// The filled part in pixels of the inner width, or -1 when unknown.
    int getFilledWidth() const;

    void draw(Painter& p) override;
    int getAutoMinWidth() const override;
    int getAutoMinHeight() const override;

private:
    /// The moving block's left edge inside the trough.
    OKU_LOCAL int blockOffset(int inner, int block) const;

    unsigned long long m_done = 0;
    unsigned long long m_total = 0;
    int32_t m_pulse = 0;
    Color m_barColor = s_defaultBarColor;
};

} // namespace OKU

#endif
