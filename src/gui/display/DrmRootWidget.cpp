#include "gui/display/DrmRootWidget.h"

#include "gui/display/DrmOutput.h"
#include "input/TouchScreenFactory.h"

namespace OKU {

DrmRootWidget::DrmRootWidget(int, int)
    : RootWidget(std::unique_ptr<DisplayOutput>(new DrmOutput()))
{
    setTouchScreen(openTouchScreen(getWidth(), getHeight(), getOutput().getRotation()));
}

} // namespace OKU
