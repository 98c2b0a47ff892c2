#include "gui/layout/CenterSizer.h"

namespace OKU {

CenterSizer::CenterSizer(bool measureHidden) : StackSizer(measureHidden)
{
}

CenterSizer::CenterSizer(Widget* w, bool measureHidden)
    : StackSizer(w, HAlign::CENTER, VAlign::CENTER, measureHidden)
{
}

} // namespace OKU
