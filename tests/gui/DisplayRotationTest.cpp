#include "gui/display/detail/DisplayRotation.h"

#include <gtest/gtest.h>

#include "core/SetupError.h"
#include "core/TempDir.h"

using namespace OKU;

TEST(DisplayRotationTest, EnvironmentGivesOneOfFourTurns)
{
    const struct { const char* value; int rotation; } cases[] = {
        {nullptr, 0}, {"", 0}, {"0", 0}, {"90", 90}, {"180", 180}, {"270", 270}};
    for (const auto& c : cases) {
        ScopedEnv rotation("OKU_ROTATION", c.value);
        EXPECT_EQ(c.rotation, displayRotationFromEnv()) << (c.value ? c.value : "(unset)");
    }

    for (const char* value : {"45", "-90", "360", "90 ", "ninety"}) {
        ScopedEnv rotation("OKU_ROTATION", value);
        try {
            displayRotationFromEnv();
            ADD_FAILURE() << "\"" << value << "\" accepted";
        } catch (const SetupError& failure) {
            EXPECT_EQ("Invalid OKU_ROTATION \"" + std::string(value) + "\".  Use 0, 90, 180 or 270",
                      failure.what());
        }
    }
}
