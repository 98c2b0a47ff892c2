#include "gui/display/detail/DrmModeChoice.h"

#include <drm_fourcc.h>

#include "graphics/detail/ImageLimits.h"

namespace OKU {

namespace {

int64_t area(const drmModeModeInfo& mode)
{
    return int64_t(mode.hdisplay) * mode.vdisplay;
}

// True when a beats b as the display's mode in the absence of a preferred one.
bool isBetterMode(const drmModeModeInfo& a, const drmModeModeInfo& b)
{
    if (area(a) != area(b))
        return area(a) > area(b);
    return a.vrefresh > b.vrefresh;
}

// The CRTC for a connector: the one already driving it keeps its picture
// stable; else the lowest-numbered one that can.
int chooseCrtc(const DrmConnector& connector)
{
    if (connector.currentCrtc >= 0)
        return connector.currentCrtc;
    for (int i = 0; i < 32; ++i) {
        if (connector.possibleCrtcs & (uint32_t(1) << i))
            return i;
    }
    return -1;
}

bool offers(const std::vector<uint32_t>& formats, uint32_t fourcc)
{
    for (uint32_t format : formats) {
        if (format == fourcc)
            return true;
    }
    return false;
}

} // namespace

bool isUsableMode(const drmModeModeInfo& mode)
{
    return mode.hdisplay > 0 && mode.vdisplay > 0 &&
           (mode.flags & (DRM_MODE_FLAG_INTERLACE | DRM_MODE_FLAG_DBLSCAN)) == 0 &&
           isLoadableImageSize(mode.hdisplay, mode.vdisplay);
}

int choosePreferredMode(const std::vector<drmModeModeInfo>& modes)
{
    int best = -1;
    for (size_t i = 0; i < modes.size(); ++i) {
        const drmModeModeInfo& mode = modes[i];
        if (!isUsableMode(mode))
            continue;
        if (mode.type & DRM_MODE_TYPE_PREFERRED)
            return static_cast<int>(i);
        if (best < 0 || isBetterMode(mode, modes[best]))
            best = static_cast<int>(i);
    }
    return best;
}

DrmDisplayChoice chooseDisplay(const std::vector<DrmConnector>& connectors)
{
    DrmDisplayChoice choice;
    choice.problem = DrmDisplayProblem::NO_CONNECTED_DISPLAY;
    for (size_t i = 0; i < connectors.size(); ++i) {
        const DrmConnector& connector = connectors[i];
        if (!connector.connected)
            continue;
        const int mode = choosePreferredMode(connector.modes);
        if (mode < 0) {
            // A later connector may still do; if none does, the problem of
            // the one that came closest is reported.
            if (choice.problem == DrmDisplayProblem::NO_CONNECTED_DISPLAY)
                choice.problem = DrmDisplayProblem::NO_USABLE_MODE;
            continue;
        }
        const int crtc = chooseCrtc(connector);
        if (crtc < 0) {
            choice.problem = DrmDisplayProblem::NO_CRTC;
            continue;
        }
        choice.problem = DrmDisplayProblem::NONE;
        choice.connector = i;
        choice.mode = static_cast<size_t>(mode);
        choice.crtc = crtc;
        return choice;
    }
    return choice;
}

bool chooseFormat(const std::vector<uint32_t>& planeFormats, uint64_t preferredDepth,
                  DrmFormat& chosen)
{
    const DrmFormat xrgb8888 = {"XRGB8888", DRM_FORMAT_XRGB8888, 32, FramePixelFormat::RGB32};
    // Red in the top five bits of a 16-bit word: what the 5-6-5 writer makes.
    const DrmFormat rgb565 = {"RGB565", DRM_FORMAT_RGB565, 16, FramePixelFormat::BGR16};
    if (planeFormats.empty()) {
        chosen = preferredDepth == 16 ? rgb565 : xrgb8888;
        return true;
    }
    if (offers(planeFormats, xrgb8888.fourcc)) {
        chosen = xrgb8888;
        return true;
    }
    if (offers(planeFormats, rgb565.fourcc)) {
        chosen = rgb565;
        return true;
    }
    return false;
}

} // namespace OKU
