#include "gui/layout/VSizer.h"

namespace OKU {

VSizer::VSizer(bool layoutHidden, bool measureHidden)
    : LinearSizer<VerticalAxis>(layoutHidden, measureHidden)
{
}

} // namespace OKU
