#ifndef OKU_GALLERY_TOGGLEBUTTON_H
#define OKU_GALLERY_TOGGLEBUTTON_H

#include "gui/widgets/ButtonPainter.h"
#include "gui/widgets/ToggleButtonBase.h"
#include "text/LString.h"

// A toggle button in the theme's toggle look: down while checked. While the
// finger is on it, it already shows the state a release would give it.
class ToggleButton : public OKU::ToggleButtonBase, public OKU::ButtonPainter {
public:
    ToggleButton(OKU::Widget* parent, const OKU::LString& text, bool checked, bool sticky);

    using ButtonPainter::draw;

    const OKU::LString& getText() const { return m_text; }

    void attributeChanged() override;
    void draw(OKU::Painter& p) override;
    int getAutoMinWidth() const override;
    int getAutoMinHeight() const override;

private:
    OKU::LString m_text;
};

#endif
