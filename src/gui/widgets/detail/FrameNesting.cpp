#include "gui/widgets/detail/FrameNesting.h"

#include <algorithm>

#include "core/FatalError.h"
#include "gui/widgets/Frame.h"
#include "gui/widgets/TabbedFrame.h"

namespace OKU {

Color nestedFrameBgColor(const Widget* parent, const std::vector<Color>& colors,
                         const char* owner)
{
    if (colors.empty())
        fatalError("%s::initBgColor: no background colours", owner);
    size_t depth = 0;
    for (const Widget* w = parent; w != nullptr; w = w->getParent()) {
        if (dynamic_cast<const Frame*>(w) != nullptr ||
            dynamic_cast<const TabbedFrame*>(w) != nullptr)
            ++depth;
    }
    return colors[std::min(depth, colors.size() - 1)];
}

} // namespace OKU
