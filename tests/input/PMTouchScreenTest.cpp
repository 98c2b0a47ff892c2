#include "input/PMTouchScreen.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/FatalError.h"
#include "core/TempDir.h"
#include "input/PM6000TouchScreen.h"
#include "input/PM9000TouchScreen.h"
#include "input/SerialController.h"

using namespace OKU;
using namespace serialtest;

namespace {

const int c_width = 800;
const int c_height = 480;
const unsigned c_hangSeconds = 60;

typedef std::function<std::unique_ptr<PMTouchScreen>(const std::string& device, int baud,
                                                     const std::string& calibrationFile)>
    Factory;

template <class Driver>
std::unique_ptr<PMTouchScreen> make(const std::string& device, int baud,
                                    const std::string& calibrationFile)
{
    return std::make_unique<Driver>(device, baud, c_width, c_height, calibrationFile);
}

// Every driver of these tests runs at 19200 baud.
const std::vector<Step> c_pm6000Handshake = {rawMode(B19200), expect("F1 00 00 00 00 0E"),
                                             answer("F1 00 00 00 00 0E")};
const std::vector<Step> c_pm9000Handshake = {rawMode(B19200), expect("F2 00 00 00 00"),
                                             answer("F2 D9 07 00 00"), expect("F1 00 00 00 00"),
                                             answer("F1 00 00 00 00")};

// A driver on a fresh pseudo-terminal, initialised through the handshake.
struct Rig {
    Rig(const Factory& factory, const std::vector<Step>& handshake,
        const std::string& calibrationFile)
        : driver(factory(terminal.path(), 19200, calibrationFile))
    {
        ScriptedController controller(terminal, handshake);
        driver->init();
        EXPECT_EQ("", controller.finish());
    }

    PseudoTerminal terminal;
    std::unique_ptr<PMTouchScreen> driver;
};

void printFatalError(const char* message)
{
    fprintf(stderr, "fatal: %s\n", message);
}

// Nine points on a 3 x 3 grid whose raw positions are the screen positions
// times factor.
std::vector<TouchScreen::CalibrationPoint> scaledGrid(int factor)
{
    std::vector<TouchScreen::CalibrationPoint> points;
    for (int y : {70, c_height / 2, c_height - 51}) {
        for (int x : {50, c_width / 2, c_width - 51})
            points.push_back({x, y, x * factor, y * factor});
    }
    return points;
}

} // namespace

TEST(PMTouchScreenTest, HandshakesRetryUntilAnswered)
{
    const struct {
        const char* name;
        Factory factory;
        std::vector<Step> script;
        std::vector<std::string> traces;
    } cases[] = {
        {"PM9000: a wrong answer, then a lost one",
         make<PM9000TouchScreen>,
         {rawMode(B19200), expect("F2 00 00 00 00"), answer("F2 00 00 00 00"),
          expect("F2 00 00 00 00"), answer("F2 D9 07 00 00"), expect("F1 00 00 00 00"),
          expect("F1 00 00 00 00"), answer("F1 00 00 00 00")},
         {"OKU::PM9000TouchScreen Connected to PM9000 version 0x07"}},
        {"PM6000: any answer after a lost one",
         make<PM6000TouchScreen>,
         {rawMode(B19200), expect("F1 00 00 00 00 0E"), expect("F1 00 00 00 00 0E"),
          answer("00 11 22 33 44 55")},
         {}},
    };
    for (const auto& c : cases) {
        const TraceCapture traces("OKU::PM");
        TempDir dir;
        const Rig rig(c.factory, c.script, dir / "tscal.dat");
        EXPECT_EQ(c.traces, traces.messages()) << c.name;
    }
}

TEST(PMTouchScreenTest, LineSetUpErrorsAreThrown)
{
    PM9000TouchScreen notTerminal("/dev/null", 19200, c_width, c_height, "/nonexistent/tscal");
    EXPECT_EQ("Cannot configure \"/dev/null\".  Inappropriate ioctl for device",
              thrown([&] { notTerminal.init(); }));
    // The device is opened before the baud rate is looked at.
    PM9000TouchScreen missing("/nonexistent/ttyS9", 12345, c_width, c_height, "/nonexistent/tscal");
    EXPECT_EQ("Cannot open \"/nonexistent/ttyS9\".  No such file or directory",
              thrown([&] { missing.init(); }));
}

TEST(PMTouchScreenDeathTest, ControllerFailuresAreFatal)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        Factory factory;
        int baud;
        std::vector<Step> script;
        const char* message; // a regular expression
    } cases[] = {
        {make<PM9000TouchScreen>, 12345, {}, "fatal: PMTouchScreen: Invalid baud rate"},
        {make<PM9000TouchScreen>, 19200, {},
         "Timeout enabling PM9000.*fatal: Failed initializing PenMount on /dev/pts/[0-9]+"},
        {make<PM9000TouchScreen>, 19200, {expect("F2 00 00 00 00"), answer("F2 D9 07 00 00")},
         "Timeout enabling PM9000.*fatal: Failed initializing PenMount on /dev/pts/[0-9]+"},
        {make<PM6000TouchScreen>, 19200, {},
         "Timeout enabling PM6000.*fatal: Failed initializing PenMount on /dev/pts/[0-9]+"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        PseudoTerminal terminal;
        EXPECT_EXIT(
            {
                setFatalErrorHandler(printFatalError);
                traceInitStderr(TRACE_ERROR);
                ScriptedController controller(terminal, c.script);
                c.factory(terminal.path(), c.baud, dir / "tscal.dat")->init();
            },
            testing::ExitedWithCode(1), c.message);
    }
    EXPECT_EXIT(
        {
            setFatalErrorHandler(printFatalError);
            TempDir dir;
            Rig rig(make<PM9000TouchScreen>, c_pm9000Handshake, dir / "tscal.dat");
            rig.terminal.hangUp();
            rig.driver->getEvent();
        },
        testing::ExitedWithCode(1), "fatal: PMTouchScreen: Read error");
}

// Without a calibration file the drivers report raw positions.
TEST(PMTouchScreenTest, RecordedStreamsDecode)
{
    const struct {
        const char* name;
        Factory factory;
        const std::vector<Step>& handshake;
    } cases[] = {
        {"pm6000-packets", make<PM6000TouchScreen>, c_pm6000Handshake},
        {"pm6000-resync", make<PM6000TouchScreen>, c_pm6000Handshake},
        {"pm9000-packets", make<PM9000TouchScreen>, c_pm9000Handshake},
        {"pm9000-resync", make<PM9000TouchScreen>, c_pm9000Handshake},
    };
    const HangGuard guard(c_hangSeconds);
    for (const auto& c : cases) {
        TempDir dir;
        Rig rig(c.factory, c.handshake, dir / "tscal.dat");
        const TraceCapture traces("OKU::PMTouchScreen");
        replay(*rig.driver, rig.terminal, traces, c.name);
    }
}

// The time-out covers the start of the rest of a packet only.
TEST(PMTouchScreenTest, CutOffPacketIsDropped)
{
    const HangGuard guard(c_hangSeconds);
    TempDir dir;
    Rig rig(make<PM9000TouchScreen>, c_pm9000Handshake, dir / "tscal.dat");
    const TraceCapture traces("OKU::PMTouchScreen");
    std::thread controller([&] {
        rig.terminal.send(hex("FF"));
        EXPECT_TRUE(traces.waitFor("OKU::PMTouchScreen Read pkt[1..4] timeout"));
        rig.terminal.send(hex("FF 03 04 05 06"));
    });
    EXPECT_EQ("press 388 646", describe(rig.driver->getEvent()));
    controller.join();
}

TEST(PMTouchScreenTest, CalibrationMapsClampsAndIsStored)
{
    const HangGuard guard(c_hangSeconds);
    TempDir dir;
    // X = 0.5 x + 10, Y = 0.25 y - 5.
    dir.write("tscal.dat", "6 0.5 0 0 0.25 0 0 0 0 0 0 10 -5\n");
    Rig rig(make<PM9000TouchScreen>, c_pm9000Handshake, dir / "tscal.dat");

    const struct {
        const char* packet;
        const char* calibrated;
        const char* raw;
    } cases[] = {
        {"FF 00 64 00 64", "press 60 20", "press 100 100"},
        {"BF 00 64 00 64", "release 60 20", "release 100 100"},
        {"FF 0F 50 0F 50", "press 799 479", "press 2000 2000"}, // clamped to the last pixel
        {"FF 00 00 00 00", "press 10 0", "press 0 0"},          // clamped to 0
    };
    const auto check = [&rig, &cases](bool raw) {
        for (const auto& c : cases) {
            rig.terminal.send(hex(c.packet));
            EXPECT_EQ(raw ? c.raw : c.calibrated, describe(rig.driver->getEvent())) << c.packet;
        }
    };
    check(false);
    rig.driver->startRawCoordinates();
    check(true);
    rig.driver->endRawCoordinates();
    check(false);

    // A new calibration takes effect at once and is what the next start
    // loads: raw = 4 * screen.
    rig.driver->setCalibration(scaledGrid(4), c_width - 1, c_height - 1);
    rig.terminal.send(hex("FF 03 10 06 20")); // 400, 800
    EXPECT_EQ("press 100 200", describe(rig.driver->getEvent()));
    Rig restarted(make<PM9000TouchScreen>, c_pm9000Handshake, dir / "tscal.dat");
    restarted.terminal.send(hex("FF 03 10 06 20"));
    EXPECT_EQ("press 100 200", describe(restarted.driver->getEvent()));
}
