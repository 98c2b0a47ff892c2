#ifndef OKU_GUI_DISPLAY_DETAIL_DISPLAYWAKE_H
#define OKU_GUI_DISPLAY_DETAIL_DISPLAYWAKE_H

#include <cstdint>

namespace OKU {

/// The program may take over a display that the device's application or the
/// console blanker left dark: the controller blanked, the panel's backlight
/// off or at zero brightness. These calls make it visible again when a back
/// end starts. Nothing here is fatal: a step that fails is a trace warning
/// and the program goes on (the screen may be lit after all).
///
/// Backlights are the sysfs class devices below $OKU_SYSFS (default "/sys")
/// in class/backlight: each one's bl_power is switched on (0) and a
/// brightness of 0 raised to a quarter of max_brightness (at least 1); a
/// brightness someone chose is kept. OKU_KEEP_BACKLIGHT set to anything but
/// "0" leaves every backlight alone.

/// Unblanks the framebuffer device open on fd (FBIOBLANK) and switches the
/// backlights on.
void wakeFramebufferDisplay(int fd);

/// Sets the DRM connector's DPMS property on and switches the backlights on.
void wakeDrmDisplay(int fd, uint32_t connectorId);

/// The backlight part alone.
void switchOnBacklights();

} // namespace OKU

#endif
