#ifndef OKU_GUI_DISPLAY_DRMROOTWIDGET_H
#define OKU_GUI_DISPLAY_DRMROOTWIDGET_H

#include "gui/tree/RootWidget.h"

namespace OKU {

/// The root widget on a KMS display (see DrmOutput), with the touch
/// controller the environment names (see openTouchScreen).
class DrmRootWidget : public RootWidget {
public:
    /// The tree has the size of the display's mode, turned as the panel is
    /// mounted; width and height are ignored. Throws SetupError when the
    /// display cannot be driven (see DrmOutput) or OKU_ROTATION is invalid.
    DrmRootWidget(int width, int height);
};

} // namespace OKU

#endif
