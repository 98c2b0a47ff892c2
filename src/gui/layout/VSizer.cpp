#include "gui/layout/VSizer.h"

namespace OKU {

VSizer::VSizer(bool layoutHidden, bool measureHidden)
    : LinearSizer<VerticalAxis>(layoutHidden, measureHidden)
{
}

void VSizer::cacheMinHeights(bool all) const
{
    cacheMinSizes(all);
}

} // namespace OKU
