#include <cstring>
#include <drm_fourcc.h>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "gui/display/detail/DrmModeChoice.h"

using OKU::DrmConnector;
using OKU::DrmDisplayProblem;

namespace {

drmModeModeInfo mode(int width, int height, int refresh, uint32_t type = 0, uint32_t flags = 0)
{
    drmModeModeInfo m;
    std::memset(&m, 0, sizeof m);
    m.hdisplay = static_cast<uint16_t>(width);
    m.vdisplay = static_cast<uint16_t>(height);
    m.vrefresh = static_cast<uint32_t>(refresh);
    m.type = DRM_MODE_TYPE_DRIVER | type;
    m.flags = flags;
    return m;
}

const uint32_t c_preferred = DRM_MODE_TYPE_PREFERRED;

DrmConnector connector(bool connected, std::vector<drmModeModeInfo> modes, int currentCrtc,
                       uint32_t possibleCrtcs)
{
    DrmConnector c;
    c.id = 30;
    c.connected = connected;
    c.modes = std::move(modes);
    c.currentCrtc = currentCrtc;
    c.possibleCrtcs = possibleCrtcs;
    return c;
}

} // namespace

TEST(DrmModeChoice, PrefersTheFlaggedModeElseTheLargestThenFastestUsableOne)
{
    const struct { const char* what; std::vector<drmModeModeInfo> modes; int chosen; } cases[] = {
        {"flagged beats larger", {mode(1024, 768, 60), mode(800, 480, 60, c_preferred)}, 1},
        {"largest, then fastest",
         {mode(640, 480, 60), mode(800, 600, 75), mode(800, 600, 85), mode(720, 576, 50)}, 2},
        {"interlaced flagged mode skipped",
         {mode(1920, 1080, 60, c_preferred, DRM_MODE_FLAG_INTERLACE), mode(1280, 720, 60)}, 1},
        {"double scan skipped", {mode(320, 240, 60, 0, DRM_MODE_FLAG_DBLSCAN), mode(0, 0, 60)},
         -1},
        {"beyond the back buffer's limits", {mode(20000, 100, 60, c_preferred)}, -1},
        {"none", {}, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.chosen, OKU::choosePreferredMode(c.modes)) << c.what;
}

TEST(DrmModeChoice, TakesTheFirstConnectedDisplayItCanDriveAndNamesWhatIsMissing)
{
    const std::vector<drmModeModeInfo> modes = {mode(800, 480, 60, c_preferred)};
    const struct {
        const char* what;
        std::vector<DrmConnector> connectors;
        DrmDisplayProblem problem;
        size_t connector;
        int crtc;
    } cases[] = {
        {"nothing connected", {connector(false, modes, -1, 1)},
         DrmDisplayProblem::NO_CONNECTED_DISPLAY, 0, -1},
        {"no connectors", {}, DrmDisplayProblem::NO_CONNECTED_DISPLAY, 0, -1},
        {"connected without modes", {connector(false, modes, -1, 1), connector(true, {}, -1, 1)},
         DrmDisplayProblem::NO_USABLE_MODE, 0, -1},
        {"no CRTC can drive it", {connector(true, {}, -1, 1), connector(true, modes, -1, 0)},
         DrmDisplayProblem::NO_CRTC, 0, -1},
        {"later connector that works",
         {connector(true, {}, -1, 1), connector(false, modes, -1, 1), connector(true, modes, -1, 1)},
         DrmDisplayProblem::NONE, 2, 0},
        {"the CRTC driving it stays", {connector(true, modes, 2, 0x3)}, DrmDisplayProblem::NONE, 0,
         2},
        {"else the first possible CRTC", {connector(true, modes, -1, 0x6)},
         DrmDisplayProblem::NONE, 0, 1},
        {"the last of 32 CRTCs", {connector(true, modes, -1, 0x80000000u)},
         DrmDisplayProblem::NONE, 0, 31},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const OKU::DrmDisplayChoice choice = OKU::chooseDisplay(c.connectors);
        EXPECT_EQ(c.problem, choice.problem);
        if (c.problem == DrmDisplayProblem::NONE) {
            EXPECT_EQ(std::make_tuple(c.connector, size_t(0), c.crtc),
                      std::make_tuple(choice.connector, size_t(choice.mode), choice.crtc));
        }
    }
}

TEST(DrmModeChoice, FormatIsXRGB8888WhenOfferedElseRGB565)
{
    const struct {
        std::vector<uint32_t> planeFormats;
        uint64_t preferredDepth;
        bool found;
        uint32_t fourcc, bitsPerPixel;
        OKU::FramePixelFormat pixelFormat;
    } cases[] = {
        {{DRM_FORMAT_RGB565, DRM_FORMAT_ARGB8888, DRM_FORMAT_XRGB8888}, 16, true,
         DRM_FORMAT_XRGB8888, 32, OKU::FramePixelFormat::RGB32},
        {{DRM_FORMAT_XBGR8888, DRM_FORMAT_RGB565}, 24, true, DRM_FORMAT_RGB565, 16,
         OKU::FramePixelFormat::BGR16},
        // Neither layout is one the writers produce.
        {{DRM_FORMAT_ARGB8888, DRM_FORMAT_XBGR8888, DRM_FORMAT_BGR565}, 24, false, 0, 0,
         OKU::FramePixelFormat::RGB32},
        // No plane information: the depth the device prefers decides.
        {{}, 16, true, DRM_FORMAT_RGB565, 16, OKU::FramePixelFormat::BGR16},
        {{}, 24, true, DRM_FORMAT_XRGB8888, 32, OKU::FramePixelFormat::RGB32},
        {{}, 0, true, DRM_FORMAT_XRGB8888, 32, OKU::FramePixelFormat::RGB32},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.planeFormats.size()) + " formats, depth " +
                     std::to_string(c.preferredDepth));
        OKU::DrmFormat format = {"", 0, 0, OKU::FramePixelFormat::RGB32};
        ASSERT_EQ(c.found, OKU::chooseFormat(c.planeFormats, c.preferredDepth, format));
        if (c.found) {
            EXPECT_EQ(std::make_tuple(c.fourcc, c.bitsPerPixel, c.pixelFormat),
                      std::make_tuple(format.fourcc, format.bitsPerPixel, format.pixelFormat));
        }
    }
}
