#include <cerrno>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "core/SetupError.h"
#include "core/TempDir.h"
#include "gui/display/DrmRootWidget.h"

// The program writes the line to standard error, which the device's start-up
// script logs, and ends with status 1.
TEST(DrmRootWidget, RefusesADeviceItCannotDriveWithOneLine)
{
    const struct {
        std::string path;
        std::string line;
        bool whole; // else the line goes on with a reason worded by the system
    } cases[] = {
        {"/", std::string("Cannot open \"/\".  ") + std::strerror(EISDIR), true},
        // Opens, but answers no display request (ENOTTY from a kernel,
        // ENOSYS from an emulator that does not know the request).
        {"/dev/null", "Not a display device \"/dev/null\".  ", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ScopedEnv device("OKU_DRMDEV", c.path.c_str());
        try {
            OKU::DrmRootWidget root(800, 480);
            ADD_FAILURE() << "driven";
        } catch (const OKU::SetupError& failure) {
            const std::string line = failure.what();
            EXPECT_EQ(c.line, line.substr(0, c.line.size()));
            EXPECT_EQ(c.whole, line.size() == c.line.size()) << line;
            EXPECT_EQ(std::string::npos, line.find('\n')) << line;
        }
    }
}
