#include "gui/Frame.h"

namespace OKU {

std::vector<Color> Frame::s_defaultBgColor;

} // namespace OKU
