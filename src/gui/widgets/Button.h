#ifndef OKU_GUI_WIDGETS_BUTTON_H
#define OKU_GUI_WIDGETS_BUTTON_H

#include <memory>

#include "gui/widgets/ButtonBase.h"
#include "gui/widgets/ButtonPainter.h"
#include "text/LString.h"

namespace OKU {

/// The standard push button: a ButtonBase that paints itself with a
/// ButtonPainter. Its redraw area includes the shadows of its looks, and its
/// minimum height is the theme's button height.
class Button : public ButtonBase, public ButtonPainter {
public:
    /// A button showing only the pixmap, centred.
    Button(Widget* parent, std::shared_ptr<const Pixmap> pixmap);
    Button(Widget* parent, const LString& text, std::shared_ptr<const Pixmap> pixmap,
           WidgetPainter::PixmapPosition position, HAlign halign, VAlign valign);

    using ButtonPainter::draw;

    virtual const LString& getText() const;
    virtual void setText(const LString& text);
    /// Every change of the painter's attributes repaints the button.
    void attributeChanged() override;

    void draw(Painter& p) override;
    int getAutoMinWidth() const override;
    int getAutoMinHeight() const override;

private:
    LString m_text;
};

} // namespace OKU

#endif
