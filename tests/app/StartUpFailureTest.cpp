#include "gui/EmulatedFramebuffer.h"
#include "input/SerialController.h"

namespace {

// lifeboat on the emulated framebuffer, given at most 30 s to end.
Finished runLifeboat(const EmulatedFramebuffer& fb, const std::vector<std::string>& settings)
{
    std::vector<std::string> args = {"30", "/usr/bin/env", "LD_PRELOAD=" OKU_FBEMU_LIB,
                                     "FBEMU_PATH=" + fb.path(), "OKU_FBDEV=" + fb.path(),
                                     "ASAN_OPTIONS=verify_asan_link_order=0"};
    args.insert(args.end(), settings.begin(), settings.end());
    args.push_back(OKU_LIFEBOAT_PROGRAM);
    return run("/usr/bin/timeout", args);
}

} // namespace

// The device's start-up script acts on the status: every failure at start-up
// ends with its message and status 1, never with a signal, and a locale the
// system lacks is no failure at all.
TEST(StartUpFailureTest, EndsWithItsMessageAndStatus1)
{
    EmulatedFramebuffer fb;
    // A controller that never answers.
    serialtest::PseudoTerminal silent;
    const std::string unknownType = "Unknown touch screen controller type 'unknown'.\n";
    const std::string locale = "lifeboat: the locale of LC_ALL, LC_CTYPE or LANG is not available; "
                               "using the classic locale\n";
    // The errors are all of them, or the start of their last line.
    const struct { std::vector<std::string> settings; std::string errors; bool whole; } cases[] = {
        {{"OKU_TSTYPE=unknown"}, unknownType, true},
        {{"LC_ALL=xx_XX.UTF-8", "OKU_TSTYPE=unknown"}, locale + unknownType, true},
        // A display the toolkit cannot drive.
        {{"OKU_ROTATION=45", "OKU_TSTYPE=none"},
         "Invalid OKU_ROTATION \"45\".  Use 0, 90, 180 or 270\n", true},
        {{"FBEMU_MODE=800x480x24", "OKU_TSTYPE=none"},
         "Unsupported framebuffer \"" + fb.path() + "\".  [24:8:16:8:8:8:0]\n", true},
        {{"KARO_LIFEBOAT=" + fb.directory(), "OKU_TSTYPE=none"}, "Cannot find", false},
        {{"OKU_TSTYPE=pm9000", "OKU_TSBAUD=12345", "OKU_TSDEV=" + silent.path()},
         "PMTouchScreen: Invalid baud rate", false},
        {{"OKU_TSTYPE=pm9000", "OKU_TSDEV=" + silent.path()},
         "Failed initializing PenMount on " + silent.path(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings.front() + " " + c.settings.back());
        const Finished lifeboat = runLifeboat(fb, c.settings);
        EXPECT_EQ(1, lifeboat.status) << lifeboat.errors;
        if (c.whole) {
            EXPECT_EQ(c.errors, lifeboat.errors);
            continue;
        }
        const size_t lastLine = lifeboat.errors.rfind('\n', lifeboat.errors.size() - 2);
        EXPECT_EQ(lastLine == std::string::npos ? 0 : lastLine + 1,
                  lifeboat.errors.find(c.errors, lastLine == std::string::npos ? 0 : lastLine))
            << lifeboat.errors;
    }
}

// A technician learns where the program looked, and what to set.
TEST(StartUpFailureTest, MissingResourcesNameTheDirectoriesSearchedAndTheirVariable)
{
    EmulatedFramebuffer fb;
    const Finished lifeboat =
        runLifeboat(fb, {"KARO_LIFEBOAT=" + fb.directory(), "OKU_TSTYPE=none"});
    EXPECT_EQ(1, lifeboat.status);
    const std::string dir = fb.directory();
    EXPECT_NE(std::string::npos,
              lifeboat.errors.find("\" in " + dir + "/fonts, " + dir + "/pixmaps, " + dir +
                                   "/keyboards, " + dir + "/lng (set by KARO_LIFEBOAT)\n"))
        << lifeboat.errors;
}
