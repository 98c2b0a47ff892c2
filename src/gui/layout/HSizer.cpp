#include "gui/layout/HSizer.h"

namespace OKU {

HSizer::HSizer(bool layoutHidden, bool measureHidden)
    : LinearSizer<HorizontalAxis>(layoutHidden, measureHidden)
{
}

void HSizer::cacheMinWidths(bool all) const
{
    cacheMinSizes(all);
}

} // namespace OKU
