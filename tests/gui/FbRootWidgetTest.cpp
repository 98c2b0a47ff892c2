#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "graphics/Pixmap.h"
#include "gui/EmulatedFramebuffer.h"

using OKU::Color;

namespace {

// The probe paints four quarters: top left, top right, bottom left, bottom right.
const char* const c_quarterNames[] = {"white", "red", "18:52:86", "7:3:7"};

struct Format {
    const char* mode;
    int width;
    int height;
    int bytesPerPixel;
    int lineLength; // 0: rows without padding
    const char* code; // fb2png's format argument
    uint32_t words[4]; // the quarters in the device's format
    Color shown[4]; // what fb2png makes of them

    int stride() const { return lineLength ? lineLength : width * bytesPerPixel; }
};

#define WORDS32 {0x00FFFFFF, 0x00FF0000, 0x00123456, 0x00070307}, \
    {Color(255, 255, 255), Color(255, 0, 0), Color(18, 52, 86), Color(7, 3, 7)}
#define WORDS16 {0xFFFF, 0xF800, 0x11AA, 0}, \
    {Color(255, 255, 255), Color(255, 0, 0), Color(16, 52, 82), Color(0, 0, 0)}
#define WORDS15 {0x7FFF, 0x001F, 0x28C2, 0}, \
    {Color(255, 255, 255), Color(255, 0, 0), Color(16, 49, 82), Color(0, 0, 0)}

const Format c_formats[] = {
    {"800x480x32", 800, 480, 4, 0, "32", WORDS32},
    {"800x480x32", 800, 480, 4, 3232, "32", WORDS32},
    {"1024x600x32", 1024, 600, 4, 0, "32", WORDS32},
    {"800x480x16", 800, 480, 2, 0, "16", WORDS16},
    // Green reported as 5 bits is still driven as 5-6-5.
    {"800x480x16-555", 800, 480, 2, 0, "16", WORDS16},
    {"800x480x16", 800, 480, 2, 1666, "16", WORDS16},
    {"800x480x15", 800, 480, 2, 0, "15", WORDS15},
    {"800x480x15", 800, 480, 2, 1700, "15", WORDS15},
};

const char c_untouched = '\xA5';

// "" when the device holds the quarters inside area and untouched bytes
// everywhere else (padding included), else the first difference.
std::string compareDevice(const Format& f, const std::string& memory, const OKU::Rect& area)
{
    if (memory.size() != static_cast<size_t>(f.stride()) * f.height)
        return "device size " + std::to_string(memory.size());
    for (int y = 0; y < f.height; ++y) {
        const char* row = memory.data() + static_cast<size_t>(y) * f.stride();
        for (int offset = 0; offset < f.stride(); ++offset) {
            const int x = offset / f.bytesPerPixel;
            if (x < f.width && area.contains(OKU::Rect(x, y, 1, 1))) {
                const int quarter = (x >= f.width / 2 ? 1 : 0) + (y >= f.height / 2 ? 2 : 0);
                const uint32_t word = f.words[quarter];
                if (row[offset] != static_cast<char>(word >> 8 * (offset % f.bytesPerPixel)))
                    return "pixel " + std::to_string(x) + "," + std::to_string(y) + " is not " +
                           c_quarterNames[quarter];
            } else if (row[offset] != c_untouched) {
                return "byte " + std::to_string(offset) + " of row " + std::to_string(y) +
                       " was written";
            }
        }
    }
    return "";
}

} // namespace

TEST(FbRootWidget, LaysOutAtTheDeviceSizeAndConvertsDrawnAndRedrawnAreasIntoEachFormat)
{
    for (const Format& f : c_formats) {
        SCOPED_TRACE(std::string(f.mode) + " line " + std::to_string(f.stride()));
        std::vector<std::string> settings = {std::string("FBEMU_MODE=") + f.mode};
        if (f.lineLength)
            settings.push_back("FBEMU_LINE_LENGTH=" + std::to_string(f.lineLength));
        EmulatedFramebuffer fb;
        fb.create(static_cast<size_t>(f.stride()) * f.height, c_untouched);
        // Around the centre, so that it holds a part of every quarter.
        const OKU::Rect area(f.width / 2 - 5, f.height / 2 - 3, 9, 7);
        Finished probe = run("/usr/bin/env", fb.probeCommand(settings,
            {"redraw", std::to_string(area.x), std::to_string(area.y),
             std::to_string(area.width), std::to_string(area.height)}));
        EXPECT_EQ(0, probe.status) << probe.errors;
        EXPECT_EQ("", compareDevice(f, fb.contents(), area));

        fb.create(static_cast<size_t>(f.stride()) * f.height, c_untouched);
        probe = run("/usr/bin/env", fb.probeCommand(settings, {"draw"}));
        EXPECT_EQ(0, probe.status) << probe.errors;
        EXPECT_EQ(std::to_string(f.width) + "x" + std::to_string(f.height) + "\n", probe.output);
        EXPECT_EQ("", compareDevice(f, fb.contents(), OKU::Rect(0, 0, f.width, f.height)));

        // The screenshot tool reads the same memory back; its PNG stays for people to look at.
        const std::string png = fb.directory() + "/screen.png";
        std::vector<std::string> args = {fb.path(), std::to_string(f.width),
                                         std::to_string(f.height), f.code};
        if (f.lineLength)
            args.push_back(std::to_string(f.lineLength));
        args.push_back(png);
        const Finished convert = run(OKU_FBEMU_FB2PNG, args);
        ASSERT_EQ(0, convert.status) << convert.errors;
        OKU::Pixmap screen;
        ASSERT_TRUE(screen.loadPNG(png));
        ASSERT_EQ(f.width, screen.getWidth());
        for (int quarter = 0; quarter < 4; ++quarter) {
            const int x = (quarter % 2 * 2 + 1) * f.width / 4;
            const OKU::Pixmap::Pixel p = screen.getPixel(x, (quarter / 2 * 2 + 1) * f.height / 4);
            EXPECT_EQ(f.shown[quarter], Color(p.red, p.green, p.blue)) << c_quarterNames[quarter];
        }
    }
}

TEST(FbRootWidget, RefusesADeviceItCannotDriveWithOneLineAndStatus1)
{
    EmulatedFramebuffer fb;
    const std::string fifo = fb.directory() + "/fifo";
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    const std::string missing = fb.directory() + "/missing";
    const std::string device = "\"" + fb.path() + "\".  ";
    const struct { std::vector<std::string> settings; std::string line; } cases[] = {
        {{"OKU_FBDEV=" + missing}, "Cannot open \"" + missing + "\".  " + std::strerror(ENOENT)},
        {{"FBEMU_FAIL=fix"}, "FBIOGET_FSCREENINFO failed on " + device + std::strerror(EINVAL)},
        {{"FBEMU_FAIL=var"}, "FBIOGET_VSCREENINFO failed on " + device + std::strerror(EINVAL)},
        {{"FBEMU_MODE=800x480x8"}, "Unsupported framebuffer " + device + "[8:8:0:8:0:8:0]"},
        {{"FBEMU_MODE=800x480x24"}, "Unsupported framebuffer " + device + "[24:8:16:8:8:8:0]"},
        // The writers would run past the mapping.
        {{"FBEMU_SMEM_LEN=1535999"},
         "Framebuffer memory too small on " + device + "1535999 bytes for a frame of 1536000"},
        {{"FBEMU_LINE_LENGTH=3300", "FBEMU_SMEM_LEN=1536000"},
         "Framebuffer memory too small on " + device + "1536000 bytes for a frame of 1584000"},
        {{"FBEMU_LINE_LENGTH=3196"},
         "Framebuffer lines too short on " + device + "3196 bytes for 3200 bytes of pixels"},
        // A FIFO answers the emulated ioctls but cannot be mapped.
        {{"FBEMU_PATH=" + fifo, "OKU_FBDEV=" + fifo},
         "Cannot mmap \"" + fifo + "\".  " + std::strerror(ENODEV)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings.front());
        const Finished probe = run("/usr/bin/env", fb.probeCommand(c.settings, {"draw"}));
        EXPECT_EQ(std::make_tuple(1, c.line + "\n", std::string()),
                  std::make_tuple(probe.status, probe.errors, probe.output));
    }
}

// The console shares the framebuffer: while the program runs, its virtual
// terminal is in graphics mode, and text mode comes back however it ends.
TEST(FbRootWidget, KeepsTheConsoleInGraphicsModeUntilTheProgramEnds)
{
    EmulatedFramebuffer fb;
    const struct {
        const char* how;
        std::vector<std::string> settings, args;
        int status;
    } cases[] = {
        {"returning from main", {}, {"draw"}, 0},
        {"exit status 1 for a touch controller that is not there",
         {"OKU_TSTYPE=pm9000", "OKU_TSDEV=" + fb.directory() + "/missing"}, {"touch"}, 1},
        {"a fatal error", {}, {"fatal"}, -2},
        {"a set-up failure", {"OKU_TSTYPE=unknown"}, {"draw"}, 1},
        {"a signal", {}, {"kill"}, -2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        fb.create(800 * 480 * 4, 0);
        fb.write("tty", "text\n");
        std::vector<std::string> settings = c.settings;
        settings.push_back("FBEMU_VT_PATH=" + fb.file("tty"));
        const Finished probe = run("/usr/bin/env", fb.probeCommand(settings, c.args));
        EXPECT_EQ(c.status, probe.status) << probe.errors;
        EXPECT_EQ("text\ngraphics\ntext\n", fb.read("tty"));
    }
}

// A panel mounted turned gets the tree in its turned size, the picture turned
// clockwise onto it, flipped or not; the screenshot tool shows the visible page.
TEST(FbRootWidget, LaysOutATurnedPanelInItsTurnedSizeAndTurnsThePicture)
{
    const Color white(255, 255, 255), red(255, 0, 0), blue(18, 52, 86), dark(7, 3, 7);
    // Corners: the device's top left, top right, bottom left, bottom right.
    const struct {
        const char* rotation;
        bool flip;
        const char* size;
        Color corners[4];
    } cases[] = {
        {"90", false, "480x800\n", {blue, white, dark, red}},
        {"180", true, "800x480\n", {dark, blue, red, white}},
        {"270", true, "480x800\n", {red, dark, white, blue}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.rotation) + (c.flip ? " flipped" : ""));
        EmulatedFramebuffer fb;
        fb.create(2 * 800 * 480 * 4, 0);
        std::vector<std::string> settings = {std::string("OKU_ROTATION=") + c.rotation};
        if (c.flip)
            settings.insert(settings.end(), {"OKU_FBFLIP=1", "FBEMU_YRES_VIRTUAL=960"});
        const Finished probe = run("/usr/bin/env", fb.probeCommand(settings, {"draw"}));
        ASSERT_EQ(0, probe.status) << probe.errors;
        EXPECT_EQ(c.size, probe.output);

        const std::string png = fb.directory() + "/screen.png";
        const Finished convert = run(OKU_FBEMU_FB2PNG, {fb.path(), "800", "480", "32", png});
        ASSERT_EQ(0, convert.status) << convert.errors;
        OKU::Pixmap screen;
        ASSERT_TRUE(screen.loadPNG(png));
        for (int corner = 0; corner < 4; ++corner) {
            const OKU::Pixmap::Pixel p = screen.getPixel(corner % 2 ? 700 : 100,
                                                         corner / 2 ? 400 : 80);
            EXPECT_EQ(c.corners[corner], Color(p.red, p.green, p.blue)) << "corner " << corner;
        }
    }
}

// The device's application or the console blanker may have left the display
// dark: the program unblanks the framebuffer and lights the backlights it
// finds (bl_power on; a brightness of 0 raised to a quarter of the range, at
// least 1; one someone chose kept), unless told to leave the backlights alone.
TEST(FbRootWidget, WakesADisplayLeftBlankedAndItsBacklights)
{
    const struct {
        const char* name;
        const char* power; // "" where the driver has no bl_power
        const char* brightness;
        const char* maximum;
        const char* woken; // bl_power and brightness afterwards
    } lights[] = {
        {"panel", "4\n", "0\n", "255\n", "0\n63\n"},
        {"dimmed", "0\n", "7\n", "10\n", "0\n7\n"},
        {"coarse", "", "0\n", "3\n", "1\n"},
        {"steps", "1\n", "0\n", "4\n", "0\n1\n"},
    };
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "OKU_KEEP_BACKLIGHT=1" : "backlights switched on");
        EmulatedFramebuffer fb;
        fb.write("fb.display", "yres_virtual=480 yoffset=0 blank=1\n");
        std::string before, expected;
        for (const auto& light : lights) {
            const std::string directory = "sys/class/backlight/" + std::string(light.name);
            std::filesystem::create_directories(fb.file(directory));
            if (*light.power)
                fb.write(directory + "/bl_power", light.power);
            fb.write(directory + "/brightness", light.brightness);
            fb.write(directory + "/max_brightness", light.maximum);
            before += light.power + std::string(light.brightness);
            expected += light.woken;
        }
        const Finished probe =
            run("/usr/bin/env", fb.probeCommand({"OKU_SYSFS=" + fb.file("sys"),
                                                 keep ? "OKU_KEEP_BACKLIGHT=1" : "OKU_KEEP_BACKLIGHT=0"},
                                                {"draw"}));
        ASSERT_EQ(0, probe.status) << probe.errors;
        EXPECT_EQ("yres_virtual=480 yoffset=0 blank=0\n", fb.read("fb.display"));
        std::string after;
        for (const auto& light : lights) {
            const std::string directory = "sys/class/backlight/" + std::string(light.name);
            after += (*light.power ? fb.read(directory + "/bl_power") : "") +
                     fb.read(directory + "/brightness");
        }
        EXPECT_EQ(keep ? before : expected, after);
    }
}

// A framebuffer that cannot be unblanked may be lit all the same.
TEST(FbRootWidget, DrawsWithOneWarningWhenTheDisplayCannotBeUnblanked)
{
    EmulatedFramebuffer fb;
    const Finished probe = run(
        "/usr/bin/env", fb.probeCommand({"FBEMU_FAIL=blank", "OKU_SYSFS=" + fb.file("none")},
                                        {"frames", "1", fb.file("frames")}));
    EXPECT_EQ(0, probe.status);
    EXPECT_EQ(1u, occurrences(probe.errors, "FBIOBLANK failed: " + std::string(std::strerror(EINVAL))))
        << probe.errors;
    EXPECT_NE(std::string(800 * 480 * 4, '\0'), fb.contents());
}

// A tool that asks for whole frames (the simulator's screen) must never see a
// frame half written, however the drawing thread is scheduled: it reads under
// the emulation's lock and sees the frames the GUI thread finished, the last
// one included.
TEST(FbRootWidget, ToolsAskingForWholeFramesSeeNoFrameHalfWritten)
{
    EmulatedFramebuffer fb;
    const int frames = 300;
    fb.write("fb.frames", std::string(800 * 480 * 4, '\0'));
    Finished probe = {};
    std::atomic<bool> done(false);
    std::thread drawing([&] {
        probe = run("/usr/bin/env", fb.probeCommand({}, {"gui", std::to_string(frames)}));
        done = true;
    });
    const int fd = open(fb.file("fb.frames").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_LE(0, fd);
    std::vector<uint32_t> words(800 * 480);
    std::set<uint32_t> seen;
    size_t torn = 0;
    for (bool last = false; !last;) {
        last = done;
        flock(fd, LOCK_SH);
        const ssize_t read = pread(fd, words.data(), words.size() * 4, 0);
        flock(fd, LOCK_UN);
        ASSERT_EQ(static_cast<ssize_t>(words.size() * 4), read);
        if (std::count(words.begin(), words.end(), words[0]) != static_cast<long>(words.size()))
            ++torn;
        seen.insert(words[0]);
    }
    close(fd);
    drawing.join();
    EXPECT_EQ(0, probe.status) << probe.errors;
    EXPECT_EQ(0u, torn);
    EXPECT_EQ(0x2C014Du, words[0]); // frame 300: 44:1:77
    EXPECT_LE(3u, seen.size());
}
