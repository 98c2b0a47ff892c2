#ifndef OKU_GUI_LAYOUT_CENTERSIZER_H
#define OKU_GUI_LAYOUT_CENTERSIZER_H

#include "gui/layout/StackSizer.h"

namespace OKU {

/// A stack whose first widget is centred both ways at its minimum size.
class CenterSizer : public StackSizer {
public:
    explicit CenterSizer(bool measureHidden = false);
    explicit CenterSizer(Widget* w, bool measureHidden = false);
};

} // namespace OKU

#endif
