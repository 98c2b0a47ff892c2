#include <cerrno>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "gui/display/DrmRootWidget.h"

namespace {

// The whole of standard error, as a death test's pattern; reasonTail adds
// a reason whose wording depends on the system.
std::string exactly(const std::string& line, const std::string& reasonTail = "")
{
    std::string pattern = "^";
    for (char c : line) {
        if (std::strchr("\\^$.|?*+()[]{}", c))
            pattern += '\\';
        pattern += c;
    }
    return pattern + reasonTail + "\n$";
}

} // namespace

// The device's start-up script logs standard error and acts on the status.
TEST(DrmRootWidget, RefusesADeviceItCannotDriveWithOneLineAndStatus1)
{
    // Fixed paths: a threadsafe death test runs the test again in its child.
    const struct {
        std::string path;
        std::string line;
        std::string reasonTail;
    } cases[] = {
        {"/", std::string("Cannot open \"/\".  ") + std::strerror(EISDIR), ""},
        // Opens, but answers no display request (ENOTTY from a kernel,
        // ENOSYS from an emulator that does not know the request).
        {"/dev/null", "Not a display device \"/dev/null\".  ", "[^\n]+"},
    };
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EXIT(
            {
                setenv("OKU_DRMDEV", c.path.c_str(), 1);
                OKU::DrmRootWidget root(800, 480);
            },
            testing::ExitedWithCode(1), exactly(c.line, c.reasonTail));
    }
}
