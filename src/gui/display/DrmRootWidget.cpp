#include "gui/display/DrmRootWidget.h"

#include "gui/display/detail/DrmOutput.h"
#include "input/detail/TouchScreenFactory.h"

namespace OKU {

DrmRootWidget::DrmRootWidget(int, int)
    : RootWidget(std::unique_ptr<DisplayOutput>(new DrmOutput()))
{
    setTouchScreen(openTouchScreen(getWidth(), getHeight(), getOutput().getRotation()));
}

} // namespace OKU
