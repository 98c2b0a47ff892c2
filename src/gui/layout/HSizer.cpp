#include "gui/layout/HSizer.h"

namespace OKU {

HSizer::HSizer(bool layoutHidden, bool measureHidden)
    : LinearSizer<HorizontalAxis>(layoutHidden, measureHidden)
{
}

} // namespace OKU
