#include "input/detail/PMTouchScreen.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <tuple>

#include <gtest/gtest.h>

#include "core/Condition.h"
#include "core/TempDir.h"
#include "input/SerialController.h"

using namespace OKU;
using namespace serialtest;

// A line that is no terminal is thrown, as a controller that does not
// answer is, so that a device can go on without its panel; a bad baud rate
// is a fatal setting, and so is a line that hangs up while the page runs.
TEST(PMTouchScreenDeathTest, LineAndControllerFailures)
{
    EXPECT_EQ("Cannot configure \"/dev/null\".  Inappropriate ioctl for device",
              thrown([] { serialDriver("pm9000", "/dev/null")->init(); }));
    expectFatal(
        [] {
            PseudoTerminal terminal;
            serialDriver("pm9000", terminal.path(), 12345)->init();
        },
        "PMTouchScreen: Invalid baud rate");
    expectFatal(
        [] {
            StartedDriver rig("pm9000");
            rig.terminal.hangUp();
            rig.driver->getEvent();
        },
        "PMTouchScreen: Read error");
}

// The rest of a packet must arrive within 100 ms, however much of it came.
// What the back end injects before the first page shows: a report the line
// holds, and nothing once it is read.
TEST(PMTouchScreenTest, OnlyWholePacketsInTimeAreReports)
{
    const HangGuard guard(20);
    StartedDriver rig("pm9000");
    for (const char* cutOff : {"FF", "FF 01"}) {
        const TraceCapture traces("OKU::PMTouchScreen");
        std::thread controller([&] {
            rig.terminal.send(hex(cutOff));
            EXPECT_TRUE(traces.waitFor("OKU::PMTouchScreen Read pkt[1..4] timeout")) << cutOff;
            rig.terminal.send(hex("FF 03 04 05 06"));
        });
        EXPECT_EQ("press 388 646", describe(rig.driver->getEvent())) << cutOff;
        controller.join();
    }
    EXPECT_FALSE(rig.driver->reportWaiting());
    rig.terminal.send(hex("FF 03 04 05 06"));
    EXPECT_TRUE(rig.driver->reportWaiting());
    EXPECT_EQ("press 388 646", describe(rig.driver->getEvent()));
    EXPECT_FALSE(rig.driver->reportWaiting());

    // Noise is no report: a wait for one ends on time (a filter holding a
    // release must not hold it until the next touch).
    rig.terminal.send(hex("00 11 FF 01"));
    TouchScreen::Event event;
    const TimeSpec wait = TimeSpec::fromMilliseconds(50);
    EXPECT_FALSE(rig.driver->getEventBefore(monotonicNow() + wait, event));
    rig.terminal.send(hex("BF 03 04 05 06"));
    ASSERT_TRUE(rig.driver->getEventBefore(monotonicNow() + wait, event));
    EXPECT_EQ("release 388 646", describe(event));
}

TEST(PMTouchScreenTest, JunkIsReportedOnceASecond)
{
    const HangGuard guard;
    StartedDriver rig("pm9000");
    const TraceCapture traces("OKU::PMTouchScreen");
    // Every byte with bit 7 set, so BF and FF start packets that the bytes
    // after them make invalid; 8 bytes follow the last such start.
    Bytes junk;
    for (int i = 0; i < 4096; ++i)
        junk.push_back(static_cast<unsigned char>(0x80 | ((i + 8) & 0x7F)));
    rig.terminal.send(junk);
    rig.terminal.send(hex("FF 01 02 03 04  FF 01 02 03 05"));
    EXPECT_EQ("press 130 388", describe(rig.driver->getEvent()));
    EXPECT_EQ("press 130 389", describe(rig.driver->getEvent()));
    // A stray byte a second later gets a line of its own.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    rig.terminal.send(hex("00 BF 01 02 03 04"));
    EXPECT_EQ("release 130 388", describe(rig.driver->getEvent()));
    // "Dropped <n> bytes of junk" lines: how many, and the bytes they count.
    int lines = 0, dropped = 0;
    for (const std::string& message : traces.messages()) {
        if (int bytes = 0;
            sscanf(message.c_str(), "OKU::PMTouchScreen Dropped %d byte", &bytes) == 1) {
            ++lines;
            dropped += bytes;
        }
    }
    EXPECT_LE(lines, 3);
    EXPECT_EQ(4097, dropped);
    EXPECT_LE(traces.messages().size(), 6u) << "besides the three decoded packets";
}

TEST(PMTouchScreenTest, CalibrationMapsClampsAndIsStored)
{
    const HangGuard guard;
    TempDir dir;
    dir.write("tscal.dat", "6 0.5 0 0 0.25 0 0 0 0 0 0 10 -5\n"); // X = x/2 + 10, Y = y/4 - 5
    StartedDriver rig("pm9000", dir / "tscal.dat");
    // Packet, then the event calibrated and raw.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"FF 00 64 00 64", "press 60 20", "press 100 100"},
        {"BF 00 64 00 64", "release 60 20", "release 100 100"},
        {"FF 0F 50 0F 50", "press 799 479", "press 2000 2000"}, // clamped to the last pixel
        {"FF 00 00 00 00", "press 10 0", "press 0 0"},          // clamped to 0
    };
    for (bool raw : {false, true, false}) {
        raw ? rig.driver->startRawCoordinates() : rig.driver->endRawCoordinates();
        for (const auto& [packet, calibrated, rawEvent] : cases) {
            rig.terminal.send(hex(packet));
            EXPECT_EQ(raw ? rawEvent : calibrated, describe(rig.driver->getEvent())) << packet;
        }
    }

    // A new calibration applies at once and on the next start.
    rig.driver->setCalibration(calibrationPoints(), 799, 479);
    rig.terminal.send(hex("FF 06 20 0E 08")); // 800, 1800
    EXPECT_EQ("press 100 200", describe(rig.driver->getEvent()));
    StartedDriver restarted("pm9000", dir / "tscal.dat");
    restarted.terminal.send(hex("FF 06 20 0E 08"));
    EXPECT_EQ("press 100 200", describe(restarted.driver->getEvent()));
}
