#include "gui/display/FbRootWidget.h"

#include "gui/display/detail/FbOutput.h"
#include "input/detail/TouchScreenFactory.h"

namespace OKU {

FbRootWidget::FbRootWidget(int, int) : RootWidget(std::unique_ptr<DisplayOutput>(new FbOutput()))
{
    setTouchScreen(openTouchScreen(getWidth(), getHeight(), getOutput().getRotation()));
}

} // namespace OKU
