#ifndef OKU_GUI_WIDGETS_DETAIL_FRAMENESTING_H
#define OKU_GUI_WIDGETS_DETAIL_FRAMENESTING_H

#include <vector>

#include "graphics/Color.h"

namespace OKU {

class Widget;

/// The background of a frame below parent: the colour of its nesting depth
/// (how many frames and tabbed frames are its ancestors), the last colour for
/// deeper frames. An empty list is a fatal error naming the owner.
Color nestedFrameBgColor(const Widget* parent, const std::vector<Color>& colors,
                         const char* owner);

} // namespace OKU

#endif
