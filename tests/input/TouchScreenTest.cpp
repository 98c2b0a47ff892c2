#include "input/TouchScreen.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <string>
#include <tuple>
#include <typeinfo>

#include <gtest/gtest.h>

#include "core/Paths.h"
#include "core/TempDir.h"
#include "input/DummyTouchScreen.h"
#include "input/detail/FilteredTouchScreen.h"
#include "input/detail/LinuxTouchScreen.h"
#include "input/detail/PM6000TouchScreen.h"
#include "input/detail/PM9000TouchScreen.h"
#include "input/detail/TSC10TouchScreen.h"
#include "input/detail/TouchScreenFactory.h"

using namespace OKU;

TEST(TouchScreenTest, EnvironmentChoosesDriverDeviceAndBaud)
{
    typedef TouchScreenType T;
    const struct {
        const char *type, *device, *baud;
        TouchScreenType expectedType;
        const char* expectedDevice;
        int expectedBaud;
        const std::type_info& driver;
    } cases[] = {
        {nullptr, nullptr, nullptr, T::PM9000, "/dev/ttyS3", 19200, typeid(PM9000TouchScreen)},
        {"pm9000", "/dev/ttyUSB0", "38400", T::PM9000, "/dev/ttyUSB0", 38400, typeid(PM9000TouchScreen)},
        {"pm6000", nullptr, nullptr, T::PM6000, "/dev/ttyS3", 9600, typeid(PM6000TouchScreen)},
        {"input", nullptr, "9600", T::LINUX_INPUT, "/dev/input/event0", 0, typeid(LinuxTouchScreen)},
        {"input", "/dev/input/event3", nullptr, T::LINUX_INPUT, "/dev/input/event3", 0, typeid(LinuxTouchScreen)},
        {"tsc10", nullptr, nullptr, T::TSC10, "/dev/ttyS2", 0, typeid(TSC10TouchScreen)},
        {"dummy", "/dev/ttyS1", "9600", T::DUMMY, "", 0, typeid(DummyTouchScreen)},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.type ? t.type : "(unset)");
        ScopedEnv type("OKU_TSTYPE", t.type), device("OKU_TSDEV", t.device),
            baud("OKU_TSBAUD", t.baud);
        const TouchScreenSettings settings = touchScreenSettingsFromEnv();
        EXPECT_EQ(t.expectedType, settings.type);
        EXPECT_EQ(t.expectedDevice, settings.device);
        EXPECT_EQ(t.expectedBaud, settings.baud);
        const std::unique_ptr<TouchScreen> driver = createTouchScreen(settings, 800, 600);
        EXPECT_EQ(t.driver, typeid(*driver));
        const bool dummy = t.expectedType == TouchScreenType::DUMMY;
        EXPECT_EQ(dummy ? std::make_pair(1, 1) : std::make_pair(800, 600),
                  std::make_pair(driver->getWidth(), driver->getHeight()));
    }
}

// A device without a touch controller has no driver, whatever else is set, so
// that nothing asks for a calibration.
TEST(TouchScreenTest, NoControllerGivesNoDriver)
{
    ScopedEnv type("OKU_TSTYPE", "none"), device("OKU_TSDEV", "/dev/ttyS1"),
        baud("OKU_TSBAUD", "9600"), jitter("OKU_TS_JITTER", "0");
    EXPECT_EQ(TouchScreenType::NONE, touchScreenSettingsFromEnv().type);
    EXPECT_EQ(nullptr, createTouchScreen(touchScreenSettingsFromEnv(), 800, 600));
    EXPECT_EQ(nullptr, openTouchScreen(800, 600, 90));
    ScopedEnv filtered("OKU_TS_JITTER", "2");
    EXPECT_EQ(nullptr, openTouchScreen(800, 600));
}

TEST(TouchScreenTest, UnknownTypeOrFailedInitIsASetupErrorUnlessControllerIsOptional)
{
    for (const char* type : {"pm7000", "PM9000", ""}) {
        ScopedEnv unknown("OKU_TSTYPE", type);
        expectSetupError(touchScreenSettingsFromEnv,
                         "Unknown touch screen controller type '" + std::string(type) + "'\\.");
    }

    const std::string initFailure =
        "Cannot initialize touch screen controller:\nCannot open \"/nonexistent/ttyS9\".  No such file or directory";
    ScopedEnv type("OKU_TSTYPE", "pm9000"), device("OKU_TSDEV", "/nonexistent/ttyS9");
    for (const char* optional : {static_cast<const char*>(nullptr), ""}) {
        ScopedEnv notOptional("NIMBLO_OPTIONAL_TSC", optional);
        expectSetupError([] { openTouchScreen(800, 600); }, initFailure);
    }
    ScopedEnv optional("NIMBLO_OPTIONAL_TSC", "1");
    testing::internal::CaptureStderr();
    EXPECT_EQ(nullptr, openTouchScreen(800, 600));
    EXPECT_EQ(initFailure + "\n", testing::internal::GetCapturedStderr());
}

// Every driver is filtered unless both filters are turned off; a setting
// that is no number is refused before any device is opened.
TEST(TouchScreenTest, FilterSettingsWrapTheDriver)
{
    // The two settings, the pixels and milliseconds they give, and whether
    // the driver is filtered.
    const std::tuple<const char*, const char*, int, int, bool> cases[] = {
        {nullptr, "", 2, 12, true}, {"0", "25", 0, 25, true}, {"5", "0", 5, 0, true}, {"0", "0", 0, 0, false}};
    ScopedEnv type("OKU_TSTYPE", "dummy");
    for (const auto& [jitterText, debounceText, jitter, debounce, filtered] : cases) {
        ScopedEnv jitterEnv("OKU_TS_JITTER", jitterText),
            debounceEnv("OKU_TS_DEBOUNCE", debounceText);
        const TouchFilterSettings settings = TouchFilterSettings::fromEnv();
        EXPECT_EQ(std::make_pair(jitter, debounce),
                  std::make_pair(settings.jitterPixels, settings.debounceMs));
        const std::unique_ptr<TouchScreen> driver = openTouchScreen(800, 600, 90);
        EXPECT_EQ(filtered ? typeid(FilteredTouchScreen) : typeid(DummyTouchScreen),
                  typeid(*driver));
        EXPECT_EQ(90, driver->getRotation());
    }

    for (const char* value : {"-1", "2ms", "99999"}) {
        ScopedEnv debounce("OKU_TS_DEBOUNCE", value);
        expectSetupError([] { openTouchScreen(800, 600); },
                         "Invalid OKU_TS_DEBOUNCE \"" + std::string(value) +
                             "\"\\.  Use a number of milliseconds, 0 for none\\.");
    }
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
    for (int twice = 0; twice < 2; ++twice) {
        TouchScreen::setCalibrated(false);
        EXPECT_FALSE(TouchScreen::isCalibrated());
        EXPECT_FALSE(pathExists(dir / "calibrated"));
    }
    ScopedEnv unwritable("OKU_TS_CALIBRATED_FILE", (dir / "missing/calibrated").c_str());
    TouchScreen::setCalibrated(true);
    EXPECT_FALSE(TouchScreen::isCalibrated());
    // A marker that cannot be removed (here a directory; on the device a
    // read-only /var/lib) is not believed once its removal was asked for.
    std::filesystem::create_directory(dir / "stuck");
    ScopedEnv stuck("OKU_TS_CALIBRATED_FILE", (dir / "stuck").c_str());
    EXPECT_TRUE(TouchScreen::isCalibrated());
    TouchScreen::setCalibrated(false);
    EXPECT_FALSE(TouchScreen::isCalibrated());
    TouchScreen::setCalibrated(true); // believed again once written

    // A FIFO or a link left under the marker's name is replaced, never opened.
    dir.write("elsewhere", "keep");
    ASSERT_EQ(0, mkfifo((dir / "fifo").c_str(), 0600));
    ASSERT_EQ(0, symlink((dir / "elsewhere").c_str(), (dir / "link").c_str()));
    for (const char* name : {"fifo", "link"}) {
        ScopedEnv planted("OKU_TS_CALIBRATED_FILE", (dir / name).c_str());
        TouchScreen::setCalibrated(true);
        EXPECT_TRUE(std::filesystem::is_regular_file(
            std::filesystem::symlink_status(dir / name))) << name;
    }
    EXPECT_EQ("keep", dir.read("elsewhere"));
}
