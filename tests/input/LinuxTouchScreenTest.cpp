#include "input/detail/LinuxTouchScreen.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Directories.h"
#include "core/Paths.h"
#include "core/TempDir.h"
#include "input/EvdevRecords.h"
#include "input/SerialController.h"

using namespace OKU;
using serialtest::describe;

namespace {

// A FIFO that the fbemu preload library presents as an evdev device with the
// given capabilities (null for a single-touch panel), axis ranges (null for
// none: EVIOCGABS fails) and failing ioctls. Only processes started
// while the object lives see the emulation, so the driver runs in death-test
// children; they re-run this constructor, hence a directory named after the
// test rather than a fresh one.
class EmulatedInputDevice {
public:
    explicit EmulatedInputDevice(const char* bits = nullptr, const char* failing = nullptr,
                                 const char* ranges = nullptr)
        : m_dir(std::string(OKU_TEST_BUILD_DIR "/LinuxTouchScreenTest.") +
                testing::UnitTest::GetInstance()->current_test_info()->name()),
          m_preload("LD_PRELOAD", OKU_FBEMU_LIB),
          // A sanitized child would refuse to run behind the preload library.
          m_asanOrder("ASAN_OPTIONS", "verify_asan_link_order=0"),
          m_device("FBEMU_EVDEV_PATH", path().c_str()), m_bits("FBEMU_EVDEV_BITS", bits),
          m_ranges("FBEMU_EVDEV_ABS", ranges), m_failing("FBEMU_FAIL", failing),
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

// tests/data/input/<name>.stream: the device's capabilities ("device
// EV_SYN,...", else a single-touch panel), its axis ranges ("ranges
// ABS_X:0:4095,...", else none), an ioctl that fails ("fail evbit"), another
// path for the driver to open ("path /nonexistent/event0") and, in order,
// its records ("EV_ABS ABS_X 100") and the driver's calls (see perform()),
// one a line; '#' starts a comment.
struct RecordedStream {
    struct Step {
        std::string call; // empty for a record
        input_event record;
    };

    explicit RecordedStream(const std::string& name)
    {
        for (const std::string& line : serialtest::dataLines(name + ".stream")) {
            std::istringstream words(line);
            std::string first;
            input_event r;
            words >> first;
            std::string* setting = first == "device" ? &capabilities : first == "ranges" ? &ranges
                                   : first == "fail" ? &failing : first == "path" ? &path : nullptr;
            if (setting)
                words >> *setting;
            else if (parseRecord(line, r))
                steps.push_back({"", r});
            else if (!c_evdevNames.count(first))
                steps.push_back({line, {}});
            else
                ADD_FAILURE() << name << ".stream: " << line;
        }
    }

    static const char* orNull(const std::string& text)
    {
        return text.empty() ? nullptr : text.c_str();
    }

    std::string capabilities, ranges, failing, path;
    std::vector<Step> steps;
};

// What a stream's call does in the child, printing what it gives: those of
// serialtest::call() ("calibrate" without a count for all nine points),
// "calibration C0 ... C11" (stored for init to load), "read N" (the next N
// events), "waiting" (whether a report waits), "saved X Y" (where the stored
// calibration puts raw X, Y) and "hang up" (the device's writer goes);
// "thrown: MESSAGE" for a call that throws.
void perform(LinuxTouchScreen& touchScreen, const std::string& line, int writer,
             const std::string& calibrationPath)
{
    const std::string error = serialtest::thrown([&] {
        std::istringstream words(line);
        std::string verb;
        int x = 0, y = 0;
        TouchCalibration stored;
        words >> verb;
        if (verb == "calibration") {
            TouchCalibration::Coefficients coefficients;
            for (float& c : coefficients)
                words >> c;
            TouchCalibration(coefficients).save(calibrationPath);
        } else if (verb == "read" && words >> x) {
            while (x-- > 0)
                fprintf(stderr, "%s|", describe(touchScreen.getEvent()).c_str());
        } else if (verb == "waiting") {
            fprintf(stderr, "waiting %d|", touchScreen.reportWaiting());
        } else if (verb == "saved" && words >> x >> y) {
            const Point p = stored.load(calibrationPath)
                ? stored.transform(x, y, 1.0f / 1024, 800, 480)
                : Point(-1, -1);
            fprintf(stderr, "saved %d %d|", p.x, p.y);
        } else if (line == "hang up") {
            close(writer);
        } else if (const std::string e =
                       serialtest::call(touchScreen, line == "calibrate" ? "calibrate 9" : line);
                   !e.empty()) {
            throw std::runtime_error(e);
        }
    });
    if (!error.empty())
        fprintf(stderr, "thrown: %s|", error.c_str());
}

} // namespace

// Recorded streams of the three kinds of panel, and scripted ones of the
// driver's settings and failures, each on an 800 x 480 screen;
// <name>.expected holds what the driver gives, one a line, DEVICE standing
// for the device's path. A device whose panel is missing or gone is thrown,
// so that it can go on without.
TEST(LinuxTouchScreenTest, RecordedPanelsGiveTheirTouches)
{
    for (const char* name :
         {"evdev-single-touch", "evdev-multitouch", "evdev-tablet", "evdev-tablet-restart",
          "evdev-multitouch-restart", "evdev-odd-records", "evdev-stale-input", "evdev-calibrated",
          "evdev-rotation-90", "evdev-rotation-180", "evdev-rotation-270", "evdev-without-abs",
          "evdev-without-syn", "evdev-without-x", "evdev-without-y", "evdev-untracked-multitouch",
          "evdev-failing-evbit", "evdev-failing-evabs", "evdev-missing", "evdev-gone"}) {
        SCOPED_TRACE(name);
        const RecordedStream stream(name);
        EmulatedInputDevice device(RecordedStream::orNull(stream.capabilities),
                                   RecordedStream::orNull(stream.failing),
                                   RecordedStream::orNull(stream.ranges));
        std::string expected;
        for (std::string line : serialtest::dataLines(std::string(name) + ".expected")) {
            if (const size_t at = line.find("DEVICE"); at != std::string::npos)
                line.replace(at, 6, device.path());
            expected += line + "|";
        }
        // The child ends with exit(), not _exit(), so that an instrumented
        // build keeps its counts.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        EXPECT_EXIT(
            {
                const int writer = device.openWriter();
                LinuxTouchScreen touchScreen(stream.path.empty() ? device.path() : stream.path, 800,
                                             480);
                for (const RecordedStream::Step& step : stream.steps)
                    step.call.empty()
                        ? (void)!write(writer, &step.record, sizeof step.record)
                        : perform(touchScreen, step.call, writer, device.calibrationPath());
                exit(0);
            },
            testing::ExitedWithCode(0), testing::Matcher<const std::string&>(expected));
    }
}
