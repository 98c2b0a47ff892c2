#ifndef OKU_GUI_DISPLAY_DETAIL_DRMMODECHOICE_H
#define OKU_GUI_DISPLAY_DETAIL_DRMMODECHOICE_H

#include <cstddef>
#include <cstdint>
#include <vector>
#include <xf86drmMode.h>

#include "graphics/detail/FrameWriter.h"

namespace OKU {

// The choices the KMS back end makes when it sets up a display, made over
// plain values read from the device (see DrmResources.h), so that they do
// not need one.

/// A connector (an output such as HDMI or a panel) as far as the choice needs it.
struct DrmConnector {
    uint32_t id = 0;
    bool connected = false;
    std::vector<drmModeModeInfo> modes;
    /// Index, in the device's CRTC list, of the CRTC driving the connector
    /// now; -1 when none does.
    int currentCrtc = -1;
    /// Bit i set: CRTC i can drive the connector through one of its encoders.
    uint32_t possibleCrtcs = 0;
};

enum class DrmDisplayProblem {
    NONE,
    NO_CONNECTED_DISPLAY,
    NO_USABLE_MODE,
    NO_CRTC, ///< connected with a usable mode, but no CRTC can drive it
};

/// The connector, mode and CRTC chosen to show the picture, or why none could be.
struct DrmDisplayChoice {
    DrmDisplayProblem problem = DrmDisplayProblem::NONE;
    size_t connector = 0; ///< index into the connector list
    size_t mode = 0;      ///< index into that connector's modes
    int crtc = -1;        ///< index into the device's CRTC list
};

/// Whether the back buffer can have the mode's size; interlaced and
/// double-scanned modes are left out too.
bool isUsableMode(const drmModeModeInfo& mode);

/// The mode flagged preferred by the display, else the largest (then the
/// fastest); -1 when none is usable.
int choosePreferredMode(const std::vector<drmModeModeInfo>& modes);

/// The first connected connector with a usable mode and a CRTC for it (the
/// one driving it now, else the first possible one).
DrmDisplayChoice chooseDisplay(const std::vector<DrmConnector>& connectors);

/// A pixel format both the display and a FrameWriter handle.
struct DrmFormat {
    const char* name;
    uint32_t fourcc;
    uint32_t bitsPerPixel;
    FramePixelFormat pixelFormat;
};

/// XRGB8888 when the primary plane offers it, else RGB565. A device that
/// names no plane formats gets the depth it prefers for dumb buffers (16:
/// RGB565, anything else: XRGB8888). False when the plane offers neither.
bool chooseFormat(const std::vector<uint32_t>& planeFormats, uint64_t preferredDepth,
                  DrmFormat& chosen);

} // namespace OKU

#endif
