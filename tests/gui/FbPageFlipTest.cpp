#include <cstring>
#include <sstream>

#include "core/Paths.h"
#include "gui/EmulatedFramebuffer.h"

namespace {

const int c_frames = 5;
const size_t c_pixels = 800 * 480;
const size_t c_frameBytes = c_pixels * 4;

// The pan log of the emulation: every page that came onto the screen, and
// how many pages were written to while they were shown.
struct PanLog {
    std::vector<unsigned> offsets;
    std::vector<std::string> pages;
    int changedWhileShown = 0;
};

PanLog parsePanLog(const std::string& log)
{
    PanLog parsed;
    std::istringstream in(log);
    for (std::string word; in >> word;) {
        unsigned offset = 0;
        size_t size = 0;
        if (word == "changed-while-shown" && in >> offset) {
            ++parsed.changedWhileShown;
        } else if (word == "shown" && in >> offset >> size && in.get() == '\n') {
            std::string page(size, '\0');
            in.read(&page[0], static_cast<std::streamsize>(size));
            parsed.offsets.push_back(offset);
            parsed.pages.push_back(page);
        } else {
            ADD_FAILURE() << "pan log entry \"" << word << "\"";
            break;
        }
    }
    return parsed;
}

// Whether a page of x8r8g8b8 words holds exactly frame k of the probe's
// back buffers (blue, green, red, alpha).
bool holdsFrame(const std::string& page, const std::string& frames, int k)
{
    if (page.size() != c_frameBytes || frames.size() < (k + 1) * c_frameBytes)
        return false;
    const char* expected = frames.data() + k * c_frameBytes;
    for (size_t i = 0; i < c_pixels; ++i)
        if (std::memcmp(page.data() + 4 * i, expected + 4 * i, 3) != 0)
            return false;
    return true;
}

} // namespace

// Every page the display shows holds one whole frame, the frames in the
// order they were drawn; a device that cannot flip gets each frame written
// into its visible page, after one warning.
TEST(FbPageFlip, ShowsCompleteFramesOnlyOrWritesIntoTheVisiblePageWhenTheDeviceCannotPan)
{
    const std::string twoPages = "FBEMU_SMEM_LEN=" + std::to_string(2 * c_frameBytes);
    // The warning that must come once ("": none).
    const struct {
        const char* device;
        std::vector<std::string> settings;
        bool flips;
        const char* warning;
    } cases[] = {
        {"two pages from the start", {"OKU_FBFLIP=1", "FBEMU_YRES_VIRTUAL=960"}, true, ""},
        {"two pages on request", {"OKU_FBFLIP=1", twoPages}, true, ""},
        {"no vertical blank", {"OKU_FBFLIP=1", "FBEMU_YRES_VIRTUAL=960", "FBEMU_FAIL=vsync"},
         true, "No vertical blank"},
        {"memory for one page", {"OKU_FBFLIP=1"}, false, "FBIOPUT_VSCREENINFO"},
        {"virtual height refused", {"OKU_FBFLIP=1", twoPages, "FBEMU_FAIL=put"}, false,
         "FBIOPUT_VSCREENINFO"},
        {"no panning", {"OKU_FBFLIP=1", "FBEMU_YRES_VIRTUAL=960", "FBEMU_FAIL=pan"}, false,
         "no vertical panning"},
        {"panning to the first page only",
         {"OKU_FBFLIP=1", "FBEMU_YRES_VIRTUAL=960", "FBEMU_FAIL=pan-beyond"}, false,
         "FBIOPAN_DISPLAY"},
        // Not asked for: not a single pan, whatever the device offers.
        {"flipping off", {"OKU_FBFLIP=0", "FBEMU_YRES_VIRTUAL=960"}, false, ""},
        {"flipping not set", {"FBEMU_YRES_VIRTUAL=960"}, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.device);
        EmulatedFramebuffer fb;
        fb.create(2 * c_frameBytes, '\xA5');
        std::vector<std::string> settings = c.settings;
        settings.push_back("FBEMU_PAN_LOG=" + fb.file("pans"));
        const auto [status, output, errors] = run(
            "/usr/bin/env",
            fb.probeCommand(settings, {"frames", std::to_string(c_frames), fb.file("frames")}));
        ASSERT_EQ(0, status) << errors;
        EXPECT_EQ("800x480\n", output);
        const std::string frames = fb.read("frames");
        const PanLog log = parsePanLog(fb.read("pans"));
        EXPECT_EQ(0, log.changedWhileShown);

        if (c.flips) {
            // The first pan only moves to the first page, before any frame.
            ASSERT_EQ(c_frames + 1u, log.pages.size());
            for (int k = 0; k < c_frames; ++k) {
                EXPECT_EQ(k % 2 == 0 ? 480u : 0u, log.offsets[k + 1]) << "frame " << k;
                EXPECT_TRUE(holdsFrame(log.pages[k + 1], frames, k)) << "frame " << k;
            }
        } else {
            EXPECT_LE(log.pages.size(), 1u);
            EXPECT_TRUE(holdsFrame(fb.contents().substr(0, c_frameBytes), frames, c_frames - 1));
        }
        if (*c.warning) {
            EXPECT_EQ(1u, occurrences(errors, c.warning)) << errors;
        } else {
            EXPECT_EQ("", errors);
        }
        EXPECT_TRUE(c.flips || *c.warning || !OKU::pathExists(fb.displayState()));
    }
}
