#ifndef OKU_GUI_FRAME_H
#define OKU_GUI_FRAME_H

#include <vector>

#include "graphics/Color.h"
#include "gui/ContainerWidget.h"

namespace OKU {

// A titled, framed container whose background lightens with nesting depth.
class Frame : public ContainerWidget {
public:
    // Background colours by nesting depth; the theme fills the list.
    static std::vector<Color> s_defaultBgColor;
};

} // namespace OKU

#endif
