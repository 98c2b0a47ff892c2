#include "input/detail/TSC10TouchScreen.h"

#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "input/SerialController.h"

using namespace OKU;
using namespace serialtest;

TEST(TSC10TouchScreenTest, ReadsFailOnACutReportAndOnTheLinesEnd)
{
    const HangGuard guard;
    StartedDriver rig("tsc10");
    rig.terminal.send(hex("11")); // a touch whose position does not follow within 100 ms
    const std::string device = " \"" + rig.terminal.path() + "\".  ";
    EXPECT_EQ("Timeout reading" + device + "Connection timed out",
              thrown([&rig] { rig.driver->getEvent(); }));
    rig.terminal.hangUp();
    EXPECT_EQ("Read error from" + device + "Input/output error",
              thrown([&rig] { rig.driver->getEvent(); }));
}

// The GUI thread's commands and the reading thread's getEvent() share the
// line: every answer reaches its command and every report the reader, in
// order, whichever thread happens to read it.
TEST(TSC10TouchScreenTest, CommandsShareTheLineWithTheReader)
{
    const HangGuard guard;
    StartedDriver rig("tsc10");
    const int commands = 40;
    std::vector<Step> script;
    std::vector<std::string> expectedEvents;
    for (int i = 0; i < commands; ++i) {
        const std::string position = toHex({0, static_cast<unsigned char>(i)});
        script.insert(script.end(),
                      {expect(i % 2 ? "02" : "0B"),
                       answer("11 " + position + " " + position + " 10 06"),
                       expect(i % 2 ? "3A" : "31")});
        for (const char* state : {"press ", "release "})
            expectedEvents.push_back(state + std::to_string(i) + " " + std::to_string(i));
    }
    // Only the reader touches events until it is joined.
    std::vector<std::string> events;
    std::thread reader([&] {
        for (size_t i = 0; i < expectedEvents.size(); ++i)
            events.push_back(describe(rig.driver->getEvent()));
    });
    ScriptedController controller(rig.terminal, script);
    for (int i = 0; i < commands; ++i)
        EXPECT_EQ("", call(*rig.driver, i % 2 ? "raw off" : "raw on")) << i;
    EXPECT_EQ("", controller.finish());
    reader.join();
    EXPECT_EQ(expectedEvents, events);
}
