#ifndef OKU_GUI_LAYOUT_ALTSIZER_H
#define OKU_GUI_LAYOUT_ALTSIZER_H

#include "core/Visibility.h"
#include "gui/layout/StackSizer.h"

namespace OKU {

class ContainerWidget;

/// A stack of alternatives of which at most one is shown and laid out. The
/// minimum size covers every alternative, so switching between them does not
/// change the size of the page.
class AltSizer : public StackSizer {
public:
    /// c is the container whose sizer holds this one; it is laid out anew on
    /// every change of the selection.
    explicit AltSizer(ContainerWidget* c);
    AltSizer(ContainerWidget* c, Widget* first, HAlign h, VAlign v);

    void doFitRect(const Rect& r, Widget* parent) override;

    /// Shows the alternative at index and hides the others; an index that
    /// names no alternative hides them all.
    void select(int index);

private:
    OKU_LOCAL bool isAlternative(int index) const;

    ContainerWidget* m_container;
    int32_t m_selected = -1;
};

} // namespace OKU

#endif
