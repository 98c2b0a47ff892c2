#ifndef OKU_GUI_DISPLAY_FBROOTWIDGET_H
#define OKU_GUI_DISPLAY_FBROOTWIDGET_H

#include "gui/tree/RootWidget.h"

namespace OKU {

/// The root widget on a Linux framebuffer (see FbOutput), with the touch
/// controller the environment names (see openTouchScreen).
class FbRootWidget : public RootWidget {
public:
    /// The tree has the screen's size, turned as the panel is mounted; width
    /// and height are ignored. Throws SetupError when the framebuffer cannot
    /// be driven (see FbOutput) or OKU_ROTATION is invalid.
    FbRootWidget(int width, int height);
};

} // namespace OKU

#endif
