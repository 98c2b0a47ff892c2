#include "input/LinuxTouchScreen.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Directories.h"
#include "core/Paths.h"
#include "core/TempDir.h"
#include "input/SerialController.h"

using namespace OKU;
using serialtest::describe;

namespace {

input_event record(unsigned short type, unsigned short code, int value)
{
    input_event r = {};
    r.type = type;
    r.code = code;
    r.value = value;
    return r;
}

// A FIFO that the fbemu preload library presents as an evdev device with the
// given capabilities (null for a single-touch panel), axis ranges (null for
// none: EVIOCGABS fails) and failing ioctls. Only processes started
// while the object lives see the emulation, so the driver runs in death-test
// children; they re-run this constructor, hence a directory named after the
// test rather than a fresh one.
class EmulatedInputDevice {
public:
    explicit EmulatedInputDevice(const char* bits = nullptr, const char* failing = nullptr, const char* ranges = nullptr)
        : m_dir(std::string(OKU_TEST_BUILD_DIR "/LinuxTouchScreenTest.") +
                testing::UnitTest::GetInstance()->current_test_info()->name()),
          m_preload("LD_PRELOAD", OKU_FBEMU_LIB),
          // A sanitized child would refuse to run behind the preload library.
          m_asanOrder("ASAN_OPTIONS", "verify_asan_link_order=0"), m_device("FBEMU_EVDEV_PATH", path().c_str()),
          m_bits("FBEMU_EVDEV_BITS", bits), m_ranges("FBEMU_EVDEV_ABS", ranges), m_failing("FBEMU_FAIL", failing),
          m_calibration("OKU_TS_CALIB_DATA_FILE", calibrationPath().c_str())
    {
        EXPECT_TRUE(pathIsFile(OKU_FBEMU_LIB)) << "the fbemu target is needed";
        clear();
        EXPECT_TRUE(makeDir(m_dir));
        EXPECT_EQ(0, mkfifo(path().c_str(), 0600));
    }
    EmulatedInputDevice(const EmulatedInputDevice&) = delete;
    EmulatedInputDevice& operator=(const EmulatedInputDevice&) = delete;
    ~EmulatedInputDevice() { clear(); }

    std::string path() const { return m_dir + "/event0"; }
    std::string calibrationPath() const { return m_dir + "/calibration"; }

    // Opening a FIFO read-write never blocks and lets the driver's open through.
    int openWriter() const { return open(path().c_str(), O_RDWR); }

private:
    void clear() const
    {
        unlink(path().c_str()); // removeTree leaves FIFOs alone
        removeTree(m_dir, true);
    }

    const std::string m_dir;
    ScopedEnv m_preload, m_asanOrder, m_device, m_bits, m_ranges, m_failing, m_calibration;
};

void writeRecords(int fd, const std::vector<input_event>& records)
{
    for (const input_event& r : records)
        if (write(fd, &r, sizeof r) != static_cast<ssize_t>(sizeof r))
            fprintf(stderr, "cannot write a record\n");
}

void writeReport(int fd, bool pressed, int x, int y)
{
    writeRecords(fd, {record(EV_ABS, ABS_X, x), record(EV_ABS, ABS_Y, y), record(EV_KEY, BTN_TOUCH, pressed),
                      record(EV_SYN, SYN_REPORT, 0)});
}

void printEvents(TouchScreen& touchScreen, size_t count)
{
    while (count-- > 0)
        fprintf(stderr, "%s|", describe(touchScreen.getEvent()).c_str());
}

// Runs body(driver, writer) on the device for an 800 x height screen in a
// death-test child, which must print exactly expected. The child ends with
// exit(), not _exit(), so that an instrumented build keeps its counts.
template <class Body>
void expectChildPrints(const EmulatedInputDevice& device, int height, Body body, const std::string& expected)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const int writer = device.openWriter();
            LinuxTouchScreen touchScreen(device.path(), 800, height);
            body(touchScreen, writer);
            exit(0);
        },
        testing::ExitedWithCode(0), "^" + expected + "$");
}

#define NAMED(code) {#code, code}
const std::map<std::string, int> c_names = {
    NAMED(EV_SYN), NAMED(EV_KEY), NAMED(EV_REL), NAMED(EV_ABS), NAMED(EV_MSC), NAMED(SYN_REPORT),
    NAMED(BTN_TOUCH), NAMED(BTN_LEFT), NAMED(BTN_RIGHT), NAMED(REL_WHEEL), NAMED(MSC_SCAN), NAMED(ABS_X),
    NAMED(ABS_Y), NAMED(ABS_PRESSURE), NAMED(ABS_MT_SLOT), NAMED(ABS_MT_TRACKING_ID), NAMED(ABS_MT_POSITION_X),
    NAMED(ABS_MT_POSITION_Y),
};
#undef NAMED

// tests/data/input/<name>.stream: the device's capabilities ("device
// EV_SYN,..."), its axis ranges ("ranges ABS_X:0:4095,...") and its records
// ("EV_ABS ABS_X 100"), one a line; '#' starts a comment.
struct RecordedStream {
    explicit RecordedStream(const std::string& name)
    {
        std::istringstream lines(serialtest::readDataFile(name + ".stream"));
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line.substr(0, line.find('#')));
            std::string first, second;
            int value = 0;
            if (!(words >> first))
                continue;
            if (first == "device")
                words >> capabilities;
            else if (first == "ranges")
                words >> ranges;
            else if (words >> second >> value && c_names.count(first) && c_names.count(second))
                records.push_back(record(c_names.at(first), c_names.at(second), value));
            else
                ADD_FAILURE() << name << ".stream: " << line;
        }
    }

    std::string capabilities, ranges;
    std::vector<input_event> records;
};

} // namespace

TEST(LinuxTouchScreenTest, DecoderFoldsRecordsIntoReports)
{
    const input_event records[] = {
        record(EV_ABS, ABS_X, 10), record(EV_ABS, ABS_Y, 20), record(EV_SYN, SYN_REPORT, 0),
        record(EV_KEY, BTN_TOUCH, 1), record(EV_SYN, SYN_REPORT, 0),
        // Other axes, keys and types change nothing; any EV_SYN code ends a report.
        record(EV_ABS, ABS_PRESSURE, 55), record(EV_ABS, ABS_Z, 7), record(EV_KEY, BTN_LEFT, 0),
        record(EV_REL, REL_X, 3), record(EV_MSC, MSC_SCAN, 4), record(EV_SYN, SYN_MT_REPORT, 0),
        record(EV_KEY, BTN_TOUCH, 0), record(EV_KEY, BTN_TOUCH, 255), record(EV_ABS, ABS_X, -4),
        record(EV_SYN, SYN_REPORT, 0), record(EV_KEY, BTN_TOUCH, 0), record(EV_SYN, SYN_DROPPED, 0),
    };
    EvdevTouchDecoder decoder;
    std::vector<std::string> reports;
    for (const input_event& r : records)
        if (decoder.add(r))
            reports.push_back(describe({decoder.isPressed(), decoder.getRawX(), decoder.getRawY()}));
    EXPECT_EQ((std::vector<std::string>{"release 10 20", "press 10 20", "press 10 20", "press -4 20", "release -4 20"}),
              reports);
}

// Thrown, so that a device whose panel is missing or gone can go on without.
TEST(LinuxTouchScreenTest, MissingDeviceCapabilitiesOrInputAreThrown)
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
        // Multitouch positions without tracking are no type B panel.
        {"EV_SYN,EV_ABS,ABS_MT_POSITION_X,ABS_MT_POSITION_Y", nullptr, "ABS_X not supported"},
        {nullptr, "evbit", "ioctl EVIOCGBIT\\(0\\) failed \\[Invalid argument\\]"},
        {nullptr, "evabs", "ioctl EVIOCGBIT\\(EV_ABS\\) failed \\[Invalid argument\\]"},
        {nullptr, nullptr, "Cannot open '/nonexistent/event0' \\[No such file or directory\\]"},
        {"EV_SYN,EV_ABS,ABS_X,ABS_Y", nullptr, "Read error from '.*/event0'"},
    };
    for (const auto& t : cases) {
        EmulatedInputDevice device(t.bits, t.failing);
        const std::string path = t.bits || t.failing ? device.path() : "/nonexistent/event0";
        EXPECT_EXIT(
            {
                const int writer = device.openWriter();
                LinuxTouchScreen touchScreen(path, 800, 600);
                try {
                    touchScreen.init();
                    close(writer);
                    touchScreen.getEvent();
                } catch (const std::runtime_error& e) {
                    fprintf(stderr, "thrown: %s", e.what());
                }
                exit(1);
            },
            testing::ExitedWithCode(1), std::string("^thrown: LinuxTouchScreen: ") + t.message + "$");
    }
}

// Without a stored calibration the driver reports raw positions; a touch
// queued before init() is thrown away.
TEST(LinuxTouchScreenTest, StaleInputIsDrainedAndRawPositionsReported)
{
    EmulatedInputDevice device;
    expectChildPrints(
        device, 600,
        [](LinuxTouchScreen& touchScreen, int writer) {
            writeReport(writer, true, 7, 8);
            touchScreen.init();
            const bool waitingAfterInit = touchScreen.reportWaiting();
            writeReport(writer, true, 1000, 2000);
            writeRecords(writer, {record(EV_ABS, ABS_X, 1500), record(EV_SYN, SYN_REPORT, 0)});
            writeReport(writer, false, 1500, 2000);
            const bool waitingWritten = touchScreen.reportWaiting();
            printEvents(touchScreen, 3);
            fprintf(stderr, "waiting %d %d %d", waitingAfterInit, waitingWritten, touchScreen.reportWaiting());
        },
        "press 1000 2000\\|press 1500 2000\\|release 1500 2000\\|waiting 0 1 0");
}

TEST(LinuxTouchScreenTest, CalibratedPositionsFollowRawModeAndNewCalibration)
{
    // The axis ranges do not change what a calibration maps.
    EmulatedInputDevice device(nullptr, nullptr, "ABS_X:0:99,ABS_Y:0:99");
    // Raw values are scaled by 1/1024 first: one raw unit per pixel.
    TouchCalibration({1024, 0, 0, 1024, 0, 0, 0, 0, 0, 0, 0, 0}).save(device.calibrationPath());
    expectChildPrints(
        device, 600,
        [&device](LinuxTouchScreen& touchScreen, int writer) {
            touchScreen.init();
            for (const auto& [x, y] : std::vector<std::pair<int, int>>{{100, 200}, {5000, -30}, {5000, -30}, {300, 400}})
                writeReport(writer, true, x, y);
            writeReport(writer, false, 300, 400);
            printEvents(touchScreen, 2);
            touchScreen.startRawCoordinates();
            printEvents(touchScreen, 1);
            std::vector<TouchScreen::CalibrationPoint> points; // raw = 2 * screen
            for (int y : {70, 300, 549})
                for (int x : {50, 400, 749})
                    points.push_back({x, y, 2 * x, 2 * y});
            touchScreen.setCalibration(points, 799, 599);
            printEvents(touchScreen, 1);
            touchScreen.endRawCoordinates();
            printEvents(touchScreen, 1);
            TouchCalibration saved;
            const Point p = saved.load(device.calibrationPath()) ? saved.transform(300, 400, 1.0f / 1024, 800, 600)
                                                                 : Point(-1, -1);
            fprintf(stderr, "saved %d %d", p.x, p.y);
        },
        "press 100 200\\|press 799 0\\|press 5000 -30\\|press 300 400\\|release 150 200\\|saved 150 200");
}

// Recorded streams of the three kinds of panel, each on an 800 x 480 screen
// without a calibration, out of raw mode: the axis ranges stretch over the
// screen. A restarted program starts where the axes stand.
TEST(LinuxTouchScreenTest, RecordedPanelsGiveTheirTouches)
{
    for (const char* name : {"evdev-single-touch", "evdev-multitouch", "evdev-tablet", "evdev-tablet-restart",
                             "evdev-multitouch-restart"}) {
        SCOPED_TRACE(name);
        const RecordedStream stream(name);
        std::istringstream expectedLines(serialtest::readDataFile(std::string(name) + ".expected"));
        size_t count = 0;
        std::string expected;
        for (std::string line; std::getline(expectedLines, line); ++count)
            expected += line + "\\|";
        EmulatedInputDevice device(stream.capabilities.c_str(), nullptr, stream.ranges.c_str());
        expectChildPrints(
            device, 480,
            [&stream, count](LinuxTouchScreen& touchScreen, int writer) {
                touchScreen.init();
                touchScreen.endRawCoordinates();
                writeRecords(writer, stream.records);
                printEvents(touchScreen, count);
                fprintf(stderr, "%s", touchScreen.reportWaiting() ? "more" : "end");
            },
            expected + "end");
    }
}

// Out of raw mode an uncalibrated panel gives its pixels turned with its
// mounting; in raw mode its units.
TEST(LinuxTouchScreenTest, UncalibratedPositionsTurnWithThePanel)
{
    // The panel's corners: its origin, the end of its x axis, the end of its y axis.
    const std::pair<int, const char*> cases[] = {
        {90, "press 0 479\\|press 0 0\\|press 799 479\\|"},
        {180, "press 799 479\\|press 0 479\\|press 799 0\\|"},
        {270, "press 799 0\\|press 799 479\\|press 0 0\\|"},
    };
    for (const auto& [rotation, corners] : cases) {
        SCOPED_TRACE(rotation);
        EmulatedInputDevice device(nullptr, nullptr, "ABS_X:0:4095,ABS_Y:0:4095");
        expectChildPrints(
            device, 480,
            [rotation = rotation](LinuxTouchScreen& touchScreen, int writer) {
                touchScreen.setRotation(rotation);
                touchScreen.init();
                touchScreen.endRawCoordinates();
                for (const auto& [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {4095, 0}, {0, 4095}})
                    writeReport(writer, true, x, y);
                printEvents(touchScreen, 3);
                touchScreen.startRawCoordinates();
                writeReport(writer, true, 0, 4095);
                printEvents(touchScreen, 1);
            },
            std::string(corners) + "press 0 4095\\|");
    }
}
