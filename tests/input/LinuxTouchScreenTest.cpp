#include "input/LinuxTouchScreen.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Directories.h"
#include "core/FatalError.h"
#include "core/Paths.h"
#include "core/TempDir.h"

using namespace OKU;

namespace {

struct Record {
    unsigned short type;
    unsigned short code;
    int value;
};

input_event makeRecord(const Record& r)
{
    input_event record = {};
    record.type = r.type;
    record.code = r.code;
    record.value = r.value;
    return record;
}

#ifndef OKU_FBEMU_LIB
#error "OKU_FBEMU_LIB must name the built fbemu preload library"
#endif

const std::string c_preloadLibrary = OKU_FBEMU_LIB;

// A FIFO that the fbemu preload library presents as an evdev device, with
// the given capabilities (FBEMU_EVDEV_BITS, null for all) and failing ioctls
// (FBEMU_FAIL). Only processes started afresh while the object lives see the
// emulation, so the driver runs in death-test children, which re-run the
// test body and therefore this constructor: the directory is named after the
// test instead of being a fresh temporary one.
class EmulatedInputDevice {
public:
    explicit EmulatedInputDevice(const char* bits = nullptr, const char* failing = nullptr)
        : m_dir(std::string(OKU_TEST_BUILD_DIR "/LinuxTouchScreenTest.") +
                testing::UnitTest::GetInstance()->current_test_info()->name()),
          m_preload("LD_PRELOAD", c_preloadLibrary.c_str()),
          m_device("FBEMU_EVDEV_PATH", getPath().c_str()),
          m_bits("FBEMU_EVDEV_BITS", bits),
          m_failing("FBEMU_FAIL", failing),
          m_calibration("OKU_TS_CALIB_DATA_FILE", getCalibrationPath().c_str())
    {
        EXPECT_TRUE(pathIsFile(c_preloadLibrary)) << "the fbemu target is needed";
        clear();
        EXPECT_TRUE(makeDir(m_dir));
        EXPECT_EQ(0, mkfifo(getPath().c_str(), 0600));
    }
    EmulatedInputDevice(const EmulatedInputDevice&) = delete;
    EmulatedInputDevice& operator=(const EmulatedInputDevice&) = delete;
    ~EmulatedInputDevice() { clear(); }

    std::string getPath() const { return m_dir + "/event0"; }
    std::string getCalibrationPath() const { return m_dir + "/calibration"; }

    // The controller's end. Opening a FIFO read-write never blocks, and it
    // lets the driver's read-only open go through at once.
    int openWriter() const { return open(getPath().c_str(), O_RDWR); }

private:
    // removeTree leaves FIFOs alone.
    void clear() const
    {
        unlink(getPath().c_str());
        removeTree(m_dir, true);
    }

    const std::string m_dir;
    ScopedEnv m_preload;
    ScopedEnv m_device;
    ScopedEnv m_bits;
    ScopedEnv m_failing;
    ScopedEnv m_calibration;
};

void writeRecords(int fd, std::initializer_list<Record> records)
{
    for (const Record& r : records) {
        const input_event record = makeRecord(r);
        if (write(fd, &record, sizeof record) != static_cast<ssize_t>(sizeof record))
            fprintf(stderr, "cannot write a record\n");
    }
}

void writeReport(int fd, bool pressed, int x, int y)
{
    writeRecords(fd, {{EV_ABS, ABS_X, x},
                      {EV_ABS, ABS_Y, y},
                      {EV_KEY, BTN_TOUCH, pressed},
                      {EV_SYN, SYN_REPORT, 0}});
}

void printEvent(const TouchScreen::Event& e)
{
    fprintf(stderr, "%d %d %d|", e.pressed, e.x, e.y);
}

} // namespace

TEST(LinuxTouchScreenTest, DecoderFoldsRecordsIntoReports)
{
    const Record records[] = {
        {EV_ABS, ABS_X, 10},     {EV_ABS, ABS_Y, 20},   {EV_SYN, SYN_REPORT, 0},
        {EV_KEY, BTN_TOUCH, 1},  {EV_SYN, SYN_REPORT, 0},
        // Other axes, keys and types change nothing; any EV_SYN code ends a report.
        {EV_ABS, ABS_PRESSURE, 55}, {EV_ABS, ABS_Z, 7},  {EV_KEY, BTN_LEFT, 0},
        {EV_REL, REL_X, 3},      {EV_MSC, MSC_SCAN, 4}, {EV_SYN, SYN_MT_REPORT, 0},
        {EV_KEY, BTN_TOUCH, 0},  {EV_KEY, BTN_TOUCH, 255}, {EV_ABS, ABS_X, -4},
        {EV_SYN, SYN_REPORT, 0},
        {EV_KEY, BTN_TOUCH, 0},  {EV_SYN, SYN_DROPPED, 0},
    };
    const std::vector<std::string> expected = {"0 10 20", "1 10 20", "1 10 20", "1 -4 20",
                                               "0 -4 20"};
    EvdevTouchDecoder decoder;
    std::vector<std::string> reports;
    for (const Record& r : records)
        if (decoder.add(makeRecord(r)))
            reports.push_back(std::to_string(decoder.isPressed()) + " " +
                              std::to_string(decoder.getRawX()) + " " +
                              std::to_string(decoder.getRawY()));
    EXPECT_EQ(expected, reports);
}

TEST(LinuxTouchScreenTest, MissingCapabilitiesAreFatal)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        const char* bits;
        const char* failing;
        const char* message;
    } cases[] = {
        {"EV_SYN,EV_KEY,ABS_X,ABS_Y", nullptr, "EV_ABS not supported"},
        {"EV_ABS,EV_KEY,ABS_X,ABS_Y", nullptr, "EV_SYN not supported"},
        {"EV_SYN,EV_ABS,ABS_Y", nullptr, "ABS_X not supported"},
        {"EV_SYN,EV_ABS,ABS_X", nullptr, "ABS_Y not supported"},
        {nullptr, "evbit", "ioctl EVIOCGBIT\\(0\\) failed \\[Invalid argument\\]"},
        {nullptr, "evabs", "ioctl EVIOCGBIT\\(EV_ABS\\) failed \\[Invalid argument\\]"},
    };
    for (const auto& t : cases) {
        EmulatedInputDevice device(t.bits, t.failing);
        EXPECT_EXIT(
            {
                setFatalErrorHandler(printFatalMessage);
                device.openWriter();
                LinuxTouchScreen(device.getPath(), 800, 600).init();
            },
            ::testing::ExitedWithCode(1), std::string("handled: LinuxTouchScreen: ") + t.message)
            << t.message;
    }

    EXPECT_EXIT(
        {
            setFatalErrorHandler(printFatalMessage);
            LinuxTouchScreen("/nonexistent/event0", 800, 600).init();
        },
        ::testing::ExitedWithCode(1),
        "handled: LinuxTouchScreen: Cannot open '/nonexistent/event0' \\[No such file or "
        "directory\\]");
}

// Without a stored calibration the driver reports raw positions; a touch
// queued before init() is thrown away.
TEST(LinuxTouchScreenTest, StaleInputIsDrainedAndRawPositionsReported)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EmulatedInputDevice device;
    EXPECT_EXIT(
        {
            const int writer = device.openWriter();
            writeReport(writer, true, 7, 8);
            LinuxTouchScreen touchScreen(device.getPath(), 800, 600);
            touchScreen.init();
            writeReport(writer, true, 1000, 2000);
            writeRecords(writer, {{EV_ABS, ABS_X, 1500}, {EV_SYN, SYN_REPORT, 0}});
            writeReport(writer, false, 1500, 2000);
            for (int i = 0; i < 3; ++i)
                printEvent(touchScreen.getEvent());
            _exit(0);
        },
        ::testing::ExitedWithCode(0), "^1 1000 2000\\|1 1500 2000\\|0 1500 2000\\|$");
}

TEST(LinuxTouchScreenTest, CalibratedPositionsFollowRawModeAndNewCalibration)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EmulatedInputDevice device;
    EXPECT_EXIT(
        {
            // Raw values are scaled by 1/1024 first: these coefficients map
            // raw units one to one onto pixels.
            TouchCalibration(
                TouchCalibration::Coefficients{1024, 0, 0, 1024, 0, 0, 0, 0, 0, 0, 0, 0})
                .save(device.getCalibrationPath());
            const int writer = device.openWriter();
            LinuxTouchScreen touchScreen(device.getPath(), 800, 600);
            touchScreen.init();
            writeReport(writer, true, 100, 200);
            writeReport(writer, true, 5000, -30);
            writeReport(writer, true, 5000, -30);
            writeReport(writer, true, 300, 400);
            writeReport(writer, false, 300, 400);
            printEvent(touchScreen.getEvent());
            printEvent(touchScreen.getEvent());

            touchScreen.startRawCoordinates();
            printEvent(touchScreen.getEvent());
            // Raw positions twice the screen positions.
            std::vector<TouchScreen::CalibrationPoint> points;
            for (int y : {70, 300, 549})
                for (int x : {50, 400, 749})
                    points.push_back({x, y, 2 * x, 2 * y});
            touchScreen.setCalibration(points, 799, 599);
            printEvent(touchScreen.getEvent());

            touchScreen.endRawCoordinates();
            printEvent(touchScreen.getEvent());

            TouchCalibration saved;
            const Point p = saved.load(device.getCalibrationPath())
                                ? saved.transform(300, 400, 1.0f / 1024, 800, 600)
                                : Point(-1, -1);
            fprintf(stderr, "saved %d %d", p.x, p.y);
            _exit(0);
        },
        ::testing::ExitedWithCode(0),
        "^1 100 200\\|1 799 0\\|1 5000 -30\\|1 300 400\\|0 150 200\\|saved 150 200$");
}
