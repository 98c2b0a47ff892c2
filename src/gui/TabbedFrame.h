#ifndef OKU_GUI_TABBEDFRAME_H
#define OKU_GUI_TABBEDFRAME_H

#include <vector>

#include "graphics/Color.h"
#include "gui/ContainerWidget.h"

namespace OKU {

// A frame with a row of tabs, each selecting one page.
class TabbedFrame : public ContainerWidget {
public:
    // Background colours by nesting depth; the theme fills the list.
    static std::vector<Color> s_defaultBgColor;
};

} // namespace OKU

#endif
