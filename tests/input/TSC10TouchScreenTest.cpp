#include "input/TSC10TouchScreen.h"

#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "input/SerialController.h"

using namespace OKU;
using namespace serialtest;

namespace {

const std::vector<Step> c_startUp = {rawMode(B9600), expect("0B 02 05 41"), answer("06"), expect("3A")};

// A driver for an 800 x 480 screen on a fresh pseudo-terminal, started up.
struct Rig {
    Rig() : driver(terminal.path(), 800, 480)
    {
        ScriptedController controller(terminal, c_startUp);
        driver.init();
        EXPECT_EQ("", controller.finish());
    }
    std::string error(const std::string& text) const { return text + " \"" + terminal.path() + "\"."; }

    PseudoTerminal terminal;
    TSC10TouchScreen driver;
};

// 16-bit big-endian raw x, raw y, screen x, screen y of the nine points of
// calibrationPoints(), then the largest screen coordinates 799, 479.
const char* const c_upload = "0D 03 03"
                             " 02 26 02 F8 00 32 00 46  08 FC 02 F8 01 90 00 46"
                             " 0F CD 02 F8 02 ED 00 46  02 26 08 48 00 32 00 F0"
                             " 08 FC 08 48 01 90 00 F0  0F CD 08 48 02 ED 00 F0"
                             " 02 26 0E 30 00 32 01 AD  08 FC 0E 30 01 90 01 AD"
                             " 0F CD 0E 30 02 ED 01 AD  03 1F 01 DF";

std::vector<TouchScreen::CalibrationPoint> calibrationPoints(size_t count = 9)
{
    std::vector<TouchScreen::CalibrationPoint> points;
    for (int y : {70, 240, 429})
        for (int x : {50, 400, 749})
            points.push_back({x, y, 5 * x + 300, 8 * y + 200});
    points.resize(count);
    return points;
}

} // namespace

TEST(TSC10TouchScreenTest, StartUpChecksPowerOnByteAndSamplingRate)
{
    // The controller's part, and "" for success or else the error's text before the device.
    const std::pair<std::vector<Step>, const char*> cases[] = {
        {c_startUp, ""},
        {{rawMode(B9600), answer("12"), expect("0B 02 05 41"), answer("06"), expect("3A")}, ""},
        {{rawMode(B9600), answer("13")}, "Unexpected power on byte on"},
        {{rawMode(B9600), expect("0B 02 05 41"), answer("15")}, "Cannot set sampling rate for"},
        {{rawMode(B9600), expect("0B 02 05 41")}, "Cannot set sampling rate for"},
    };
    for (const auto& [script, error] : cases) {
        PseudoTerminal terminal;
        TSC10TouchScreen driver(terminal.path(), 800, 480);
        ScriptedController controller(terminal, script);
        const std::string thrownError = thrown([&driver] { driver.init(); });
        EXPECT_EQ("", controller.finish()) << error;
        EXPECT_EQ(*error ? std::string(error) + " \"" + terminal.path() + "\"." : "", thrownError);
    }
}

TEST(TSC10TouchScreenTest, ReportsDecodeUntilTheLineFails)
{
    const HangGuard guard;
    Rig rig;
    const TraceCapture traces("OKU::TSC10TouchScreen");
    replay(rig.driver, rig.terminal, traces, "tsc10-reports");
    rig.terminal.send(hex("11")); // a touch whose position does not follow within 100 ms
    EXPECT_EQ(rig.error("Timeout reading") + "  Connection timed out", thrown([&rig] { rig.driver.getEvent(); }));
    rig.terminal.hangUp();
    EXPECT_EQ(rig.error("Read error from") + "  Input/output error", thrown([&rig] { rig.driver.getEvent(); }));
}

// Every command waits for its answer; the mode only changes once answered.
// Without a reading thread a command reads its answer itself and keeps the
// reports it meets for getEvent().
TEST(TSC10TouchScreenTest, CommandsNeedAnAcknowledgement)
{
    const HangGuard guard;
    Rig rig;
    ScriptedController controller(
        rig.terminal,
        {expect("0B"), answer("11 00 0A 00 14  10  06"), expect("31"), // raw, reports first
         expect("02"), answer("06"), expect("3A"),                      // calibrated
         expect("0B"), answer("15"), expect("0B"),                      // refused, unanswered
         expect("0B"), answer("06"), expect(c_upload), answer("06"), expect("3A"),
         expect("0B"), answer("06"), expect("31"),                      // raw
         expect("02"), answer("06"), expect(c_upload), answer("06"), expect("31"),
         expect("02"), answer("06"), expect(c_upload), answer("15")});
    const auto call = [&rig](void (TouchScreen::*command)()) {
        return thrown([&rig, command] { (rig.driver.*command)(); });
    };
    const auto upload = [&rig](size_t count) {
        return thrown([&rig, count] { rig.driver.setCalibration(calibrationPoints(count), 799, 479); });
    };
    EXPECT_EQ("", call(&TouchScreen::startRawCoordinates));
    EXPECT_EQ("", call(&TouchScreen::startRawCoordinates)); // nothing to do
    EXPECT_EQ("", call(&TouchScreen::endRawCoordinates));
    EXPECT_EQ("", call(&TouchScreen::endRawCoordinates)); // nothing to do
    EXPECT_EQ(rig.error("Non-ACK (21) from"), call(&TouchScreen::startRawCoordinates));
    EXPECT_EQ(rig.error("Missing ACK from"), call(&TouchScreen::startRawCoordinates));
    EXPECT_EQ("", upload(9));
    // Refused before anything is sent: the next byte on the line is 0B.
    EXPECT_EQ("Bad number of calibration points.", upload(8));
    EXPECT_EQ("", call(&TouchScreen::startRawCoordinates));
    EXPECT_EQ("", upload(9));
    EXPECT_EQ(rig.error("Non-ACK (21) from"), upload(9));
    EXPECT_EQ("", controller.finish());
    rig.terminal.send(hex("11 00 01 00 02"));
    for (const char* event : {"press 10 20", "release 10 20", "press 1 2"})
        EXPECT_EQ(event, describe(rig.driver.getEvent()));
}

// The GUI thread's commands and the reading thread's getEvent() share the
// line: every answer reaches its command and every report the reader, in
// order, whichever thread happens to read it.
TEST(TSC10TouchScreenTest, CommandsShareTheLineWithTheReader)
{
    const HangGuard guard;
    Rig rig;
    const int commands = 40;
    std::vector<Step> script;
    std::vector<std::string> expectedEvents;
    for (int i = 0; i < commands; ++i) {
        const std::string position = toHex({0, static_cast<unsigned char>(i)});
        script.insert(script.end(), {expect(i % 2 ? "02" : "0B"), answer("11 " + position + " " + position + " 10 06"),
                                     expect(i % 2 ? "3A" : "31")});
        for (const char* state : {"press ", "release "})
            expectedEvents.push_back(state + std::to_string(i) + " " + std::to_string(i));
    }
    // Only the reader touches events until it is joined.
    std::vector<std::string> events;
    std::thread reader([&] {
        for (size_t i = 0; i < expectedEvents.size(); ++i)
            events.push_back(describe(rig.driver.getEvent()));
    });
    ScriptedController controller(rig.terminal, script);
    for (int i = 0; i < commands; ++i)
        EXPECT_EQ("", thrown([&rig, i] { i % 2 ? rig.driver.endRawCoordinates() : rig.driver.startRawCoordinates(); }))
            << i;
    EXPECT_EQ("", controller.finish());
    reader.join();
    EXPECT_EQ(expectedEvents, events);
}
