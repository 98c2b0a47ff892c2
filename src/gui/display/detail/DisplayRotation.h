#ifndef OKU_GUI_DISPLAY_DETAIL_DISPLAYROTATION_H
#define OKU_GUI_DISPLAY_DETAIL_DISPLAYROTATION_H

namespace OKU {

/// The panel's mounting from OKU_ROTATION: how far, clockwise, the picture is
/// turned on its way to the display (core/ScreenRotation.h). Unset or empty
/// means 0; "0", "90", "180" and "270" are accepted. Anything else throws
/// SetupError ("Invalid OKU_ROTATION ...").
int displayRotationFromEnv();

} // namespace OKU

#endif
