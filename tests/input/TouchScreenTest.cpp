#include "input/TouchScreen.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <typeinfo>

#include <gtest/gtest.h>

#include "core/FatalError.h"
#include "core/Paths.h"
#include "core/TempDir.h"
#include "input/DummyTouchScreen.h"
#include "input/LinuxTouchScreen.h"
#include "input/PM6000TouchScreen.h"
#include "input/PM9000TouchScreen.h"
#include "input/TSC10TouchScreen.h"
#include "input/TouchScreenFactory.h"

using namespace OKU;

namespace {

const char* const c_missingDevice = "/nonexistent/ttyS9";
const char* const c_initFailure = "Cannot initialize touch screen controller:\n"
                                  "Cannot open \"/nonexistent/ttyS9\".  No such file or directory\n";

} // namespace

TEST(TouchScreenTest, EnvironmentChoosesDriverDeviceAndBaud)
{
    const struct {
        const char* type;
        const char* device;
        const char* baud;
        TouchScreenType expectedType;
        const char* expectedDevice;
        int expectedBaud;
        const std::type_info& driver;
    } cases[] = {
        {nullptr, nullptr, nullptr, TouchScreenType::PM9000, "/dev/ttyS3", 19200,
         typeid(PM9000TouchScreen)},
        {"pm9000", "/dev/ttyUSB0", "38400", TouchScreenType::PM9000, "/dev/ttyUSB0", 38400,
         typeid(PM9000TouchScreen)},
        {"pm6000", nullptr, nullptr, TouchScreenType::PM6000, "/dev/ttyS3", 9600,
         typeid(PM6000TouchScreen)},
        {"input", nullptr, "9600", TouchScreenType::LINUX_INPUT, "/dev/input/event0", 0,
         typeid(LinuxTouchScreen)},
        {"input", "/dev/input/event3", nullptr, TouchScreenType::LINUX_INPUT,
         "/dev/input/event3", 0, typeid(LinuxTouchScreen)},
        {"tsc10", nullptr, nullptr, TouchScreenType::TSC10, "/dev/ttyS2", 0,
         typeid(TSC10TouchScreen)},
        {"none", "/dev/ttyS1", "9600", TouchScreenType::DUMMY, "", 0, typeid(DummyTouchScreen)},
        {"dummy", nullptr, nullptr, TouchScreenType::DUMMY, "", 0, typeid(DummyTouchScreen)},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.type ? t.type : "(unset)");
        ScopedEnv type("OKU_TSTYPE", t.type);
        ScopedEnv device("OKU_TSDEV", t.device);
        ScopedEnv baud("OKU_TSBAUD", t.baud);
        const TouchScreenSettings settings = touchScreenSettingsFromEnv();
        EXPECT_EQ(t.expectedType, settings.type);
        EXPECT_EQ(t.expectedDevice, settings.device);
        EXPECT_EQ(t.expectedBaud, settings.baud);

        const std::unique_ptr<TouchScreen> driver = createTouchScreen(settings, 800, 600);
        EXPECT_EQ(t.driver, typeid(*driver));
        const bool dummy = t.expectedType == TouchScreenType::DUMMY;
        EXPECT_EQ(dummy ? 1 : 800, driver->getWidth());
        EXPECT_EQ(dummy ? 1 : 600, driver->getHeight());
    }
}

TEST(TouchScreenTest, UnknownTypeIsFatal)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const char* type : {"pm7000", "PM9000", ""}) {
        EXPECT_EXIT(
            {
                setFatalErrorHandler(printFatalMessage);
                setenv("OKU_TSTYPE", type, 1);
                touchScreenSettingsFromEnv();
            },
            ::testing::ExitedWithCode(1),
            "handled: Unknown touch screen controller type '" + std::string(type) + "'\\.");
    }
}

TEST(TouchScreenTest, FailedInitEndsProgramUnlessControllerIsOptional)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const char* optional : {static_cast<const char*>(nullptr), ""}) {
        EXPECT_EXIT(
            {
                setenv("OKU_TSTYPE", "pm9000", 1);
                setenv("OKU_TSDEV", c_missingDevice, 1);
                if (optional)
                    setenv("NIMBLO_OPTIONAL_TSC", optional, 1);
                else
                    unsetenv("NIMBLO_OPTIONAL_TSC");
                openTouchScreen(800, 600);
            },
            ::testing::ExitedWithCode(1), std::string("^") + c_initFailure + "$");
    }

    ScopedEnv type("OKU_TSTYPE", "pm9000");
    ScopedEnv device("OKU_TSDEV", c_missingDevice);
    ScopedEnv optional("NIMBLO_OPTIONAL_TSC", "1");
    testing::internal::CaptureStderr();
    EXPECT_EQ(nullptr, openTouchScreen(800, 600));
    EXPECT_EQ(c_initFailure, testing::internal::GetCapturedStderr());
}

TEST(TouchScreenTest, DummyDriverOpensWithoutDevice)
{
    ScopedEnv type("OKU_TSTYPE", "none");
    const std::unique_ptr<TouchScreen> driver = openTouchScreen(800, 600);
    ASSERT_NE(nullptr, driver);
    EXPECT_EQ(typeid(DummyTouchScreen), typeid(*driver));
}

TEST(TouchScreenTest, MarkerFileRecordsCalibration)
{
    TempDir dir;
    ScopedEnv marker("OKU_TS_CALIBRATED_FILE", (dir / "calibrated").c_str());
    EXPECT_FALSE(TouchScreen::isCalibrated());

    dir.write("calibrated", "left over");
    EXPECT_TRUE(TouchScreen::isCalibrated());
    TouchScreen::setCalibrated(true);
    EXPECT_TRUE(TouchScreen::isCalibrated());
    EXPECT_EQ("", dir.read("calibrated"));

    TouchScreen::setCalibrated(false);
    EXPECT_FALSE(TouchScreen::isCalibrated());
    EXPECT_FALSE(pathExists(dir / "calibrated"));
    TouchScreen::setCalibrated(false);
    EXPECT_FALSE(TouchScreen::isCalibrated());

    ScopedEnv unwritable("OKU_TS_CALIBRATED_FILE", (dir / "missing/calibrated").c_str());
    TouchScreen::setCalibrated(true);
    EXPECT_FALSE(TouchScreen::isCalibrated());
}
