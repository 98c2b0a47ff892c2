#include "gui/TabbedFrame.h"

namespace OKU {

std::vector<Color> TabbedFrame::s_defaultBgColor;

} // namespace OKU
