#ifndef OKU_GUI_WIDGETS_STATICPIXMAP_H
#define OKU_GUI_WIDGETS_STATICPIXMAP_H

#include <memory>

#include "core/Visibility.h"
#include "gui/tree/Widget.h"

namespace OKU {

class Pixmap;

/// A passive picture, centred at its own size or stretched over the widget
/// (optionally keeping its aspect ratio), with an optional shadowed frame. While
/// disabled it shows the disabled picture, by default a grey, low-contrast
/// copy of the picture. Presses and keys pass through it.
class StaticPixmap : public Widget {
public:
    StaticPixmap(Widget* parent, const std::shared_ptr<const Pixmap>& pixmap, bool stretch,
                 bool keepAspect);

    void setPixmap(const std::shared_ptr<const Pixmap>& pixmap);
    /// An empty pointer brings back the default grey look.
    void setDisabledPixmap(const std::shared_ptr<const Pixmap>& pixmap);
    void setStretch(bool on)
    {
        if (on == m_stretch)
            return;
        m_stretch = on;
        invalidate();
    }
    void setKeepAspect(bool on)
    {
        if (on == m_keepAspect)
            return;
        m_keepAspect = on;
        invalidate();
    }
    /// The frame's shadow reaches one pixel beyond the widget's right and
    /// bottom edges.
    void enableFrame(bool on);

    void draw(Painter& p) override;
    /// The picture's size, plus the frame.
    int getAutoMinWidth() const override;
    int getAutoMinHeight() const override;

private:
    /// The picture for the current enabled state; null without pixmap.
    OKU_LOCAL std::shared_ptr<const Pixmap> currentPicture() const;
    /// Where the picture goes inside the area.
    OKU_LOCAL Rect placePicture(const Rect& area, const Pixmap& picture) const;
    int frameWidth() const { return m_frame ? 2 : 0; }

    std::shared_ptr<const Pixmap> m_pixmap;
    std::shared_ptr<const Pixmap> m_disabledPixmap;
    bool m_stretch;
    bool m_keepAspect;
    bool m_frame = false;
};

} // namespace OKU

#endif
