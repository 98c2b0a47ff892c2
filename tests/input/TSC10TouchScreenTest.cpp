#include "input/TSC10TouchScreen.h"

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "input/SerialController.h"

using namespace OKU;
using namespace serialtest;

namespace {

const int c_width = 800;
const int c_height = 480;
const unsigned c_hangSeconds = 60;

const std::vector<Step> c_startUp = {rawMode(B9600), expect("0B 02 05 41"), answer("06"),
                                     expect("3A")};

// A driver on a fresh pseudo-terminal after a normal start-up.
struct Rig {
    Rig() : driver(terminal.path(), c_width, c_height)
    {
        ScriptedController controller(terminal, c_startUp);
        driver.init();
        EXPECT_EQ("", controller.finish());
    }

    // The text of a protocol error about this driver's line.
    std::string error(const std::string& text) const
    {
        return text + " \"" + terminal.path() + "\".";
    }

    PseudoTerminal terminal;
    TSC10TouchScreen driver;
};

// screen x, screen y, raw x, raw y
const std::vector<TouchScreen::CalibrationPoint> c_points = {
    {50, 70, 550, 760},   {400, 70, 2300, 760},   {749, 70, 4045, 760},
    {50, 240, 550, 2120}, {400, 240, 2300, 2120}, {749, 240, 4045, 2120},
    {50, 429, 550, 3632}, {400, 429, 2300, 3632}, {749, 429, 4045, 3632},
};
// The points as 16-bit big-endian raw x, raw y, screen x, screen y, then the
// largest screen coordinates 799, 479.
const char* const c_upload = "0D 03 03"
                             " 02 26 02 F8 00 32 00 46  08 FC 02 F8 01 90 00 46"
                             " 0F CD 02 F8 02 ED 00 46  02 26 08 48 00 32 00 F0"
                             " 08 FC 08 48 01 90 00 F0  0F CD 08 48 02 ED 00 F0"
                             " 02 26 0E 30 00 32 01 AD  08 FC 0E 30 01 90 01 AD"
                             " 0F CD 0E 30 02 ED 01 AD"
                             " 03 1F 01 DF";

} // namespace

TEST(TSC10TouchScreenTest, StartUpChecksPowerOnByteAndSamplingRate)
{
    const struct {
        const char* name;
        std::vector<Step> script;
        const char* error; // "" for success, else the text before the device
    } cases[] = {
        {"no power-on byte", c_startUp, ""},
        {"power-on byte",
         {rawMode(B9600), answer("12"), expect("0B 02 05 41"), answer("06"), expect("3A")},
         ""},
        {"other first byte", {rawMode(B9600), answer("13")}, "Unexpected power on byte on"},
        {"sampling rate refused",
         {rawMode(B9600), expect("0B 02 05 41"), answer("15")},
         "Cannot set sampling rate for"},
        {"sampling rate unanswered",
         {rawMode(B9600), expect("0B 02 05 41")},
         "Cannot set sampling rate for"},
    };
    for (const auto& c : cases) {
        PseudoTerminal terminal;
        TSC10TouchScreen driver(terminal.path(), c_width, c_height);
        ScriptedController controller(terminal, c.script);
        const std::string error = thrown([&driver] { driver.init(); });
        EXPECT_EQ("", controller.finish()) << c.name;
        EXPECT_EQ(*c.error ? std::string(c.error) + " \"" + terminal.path() + "\"." : "", error)
            << c.name;
    }
}

TEST(TSC10TouchScreenTest, ReportsDecodeUntilTheLineFails)
{
    const HangGuard guard(c_hangSeconds);
    Rig rig;
    const TraceCapture traces("OKU::TSC10TouchScreen");
    replay(rig.driver, rig.terminal, traces, "tsc10-reports");

    // A touch whose position does not follow within 100 ms.
    rig.terminal.send(hex("11"));
    EXPECT_EQ(rig.error("Timeout reading") + "  Connection timed out",
              thrown([&rig] { rig.driver.getEvent(); }));
    rig.terminal.hangUp();
    EXPECT_EQ(rig.error("Read error from") + "  Input/output error",
              thrown([&rig] { rig.driver.getEvent(); }));
}

// Every command waits for its answer; the mode only changes once answered.
TEST(TSC10TouchScreenTest, ModeCommandsNeedAnAcknowledgement)
{
    Rig rig;
    ScriptedController controller(
        rig.terminal,
        {expect("0B"), answer("06"), expect("31"), // to raw mode
         expect("02"), answer("06"), expect("3A"), // back to calibrated mode
         expect("0B"), answer("15"),               // refused: still calibrated
         expect("0B"),                             // unanswered: still calibrated
         expect("0B"), answer("06"), expect("31")});
    EXPECT_EQ("", thrown([&rig] { rig.driver.startRawCoordinates(); }));
    EXPECT_EQ("", thrown([&rig] { rig.driver.startRawCoordinates(); })); // nothing to do
    EXPECT_EQ("", thrown([&rig] { rig.driver.endRawCoordinates(); }));
    EXPECT_EQ("", thrown([&rig] { rig.driver.endRawCoordinates(); })); // nothing to do
    EXPECT_EQ(rig.error("Non-ACK (21) from"), thrown([&rig] { rig.driver.startRawCoordinates(); }));
    EXPECT_EQ(rig.error("Missing ACK from"), thrown([&rig] { rig.driver.startRawCoordinates(); }));
    EXPECT_EQ("", thrown([&rig] { rig.driver.startRawCoordinates(); }));
    EXPECT_EQ("", controller.finish());
}

TEST(TSC10TouchScreenTest, CalibrationIsUploaded)
{
    Rig rig;
    ScriptedController controller(
        rig.terminal,
        {expect("0B"), answer("06"), expect(c_upload), answer("06"), expect("3A"),
         expect("0B"), answer("06"), expect("31"), // startRawCoordinates
         expect("02"), answer("06"), expect(c_upload), answer("06"), expect("31"),
         expect("02"), answer("06"), expect(c_upload), answer("15")});
    const auto upload = [&rig](const std::vector<TouchScreen::CalibrationPoint>& points) {
        return thrown([&] { rig.driver.setCalibration(points, c_width - 1, c_height - 1); });
    };
    EXPECT_EQ("", upload(c_points));
    // Refused before anything is sent: the next byte on the line is 0B.
    EXPECT_EQ("Bad number of calibration points.",
              upload(std::vector<TouchScreen::CalibrationPoint>(c_points.begin() + 1,
                                                               c_points.end())));
    rig.driver.startRawCoordinates();
    EXPECT_EQ("", upload(c_points));
    EXPECT_EQ(rig.error("Non-ACK (21) from"), upload(c_points));
    EXPECT_EQ("", controller.finish());
}

// Without a reading thread the command reads its answer itself and keeps the
// reports it meets for getEvent().
TEST(TSC10TouchScreenTest, ReportsBeforeTheAnswerAreKept)
{
    const HangGuard guard(c_hangSeconds);
    Rig rig;
    ScriptedController controller(rig.terminal,
                                  {expect("0B"), answer("11 00 0A 00 14  10  06"), expect("31")});
    rig.driver.startRawCoordinates();
    EXPECT_EQ("", controller.finish());
    rig.terminal.send(hex("11 00 01 00 02"));
    EXPECT_EQ("press 10 20", describe(rig.driver.getEvent()));
    EXPECT_EQ("release 10 20", describe(rig.driver.getEvent()));
    EXPECT_EQ("press 1 2", describe(rig.driver.getEvent()));
}

// The GUI thread's commands and the reading thread's getEvent() share the
// line: every answer reaches its command and every report the reader, in
// order, whichever thread happens to read it.
TEST(TSC10TouchScreenTest, CommandsShareTheLineWithTheReader)
{
    const HangGuard guard(c_hangSeconds);
    Rig rig;
    const int commands = 40;
    std::vector<Step> script;
    std::vector<std::string> expectedEvents;
    for (int i = 0; i < commands; ++i) {
        const bool toRaw = i % 2 == 0;
        const std::string position = toHex({0, static_cast<unsigned char>(i)});
        script.push_back(expect(toRaw ? "0B" : "02"));
        script.push_back(answer("11 " + position + " " + position));
        script.push_back(answer("10"));
        script.push_back(answer("06"));
        script.push_back(expect(toRaw ? "31" : "3A"));
        expectedEvents.push_back("press " + std::to_string(i) + " " + std::to_string(i));
        expectedEvents.push_back("release " + std::to_string(i) + " " + std::to_string(i));
    }

    std::mutex eventsMutex;
    std::vector<std::string> events;
    std::thread reader([&] {
        for (size_t i = 0; i < expectedEvents.size(); ++i) {
            const std::string event = describe(rig.driver.getEvent());
            const std::lock_guard<std::mutex> lock(eventsMutex);
            events.push_back(event);
        }
    });
    ScriptedController controller(rig.terminal, script);
    for (int i = 0; i < commands; ++i) {
        EXPECT_EQ("", thrown([&rig, i] {
            if (i % 2 == 0)
                rig.driver.startRawCoordinates();
            else
                rig.driver.endRawCoordinates();
        })) << i;
    }
    EXPECT_EQ("", controller.finish());
    reader.join();
    EXPECT_EQ(expectedEvents, events);
}
