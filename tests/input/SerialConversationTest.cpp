#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "input/SerialController.h"

using namespace OKU;
using namespace serialtest;

// Each case is a driver's life from power on, the model named first: its
// start-up, and what follows on the same line (see play() for the files).
TEST(SerialConversationTest, DriversAndControllersAgree)
{
    const std::vector<std::vector<std::string>> cases = {
        {"tsc10-start", "tsc10-commands"}, {"tsc10-start", "tsc10-reports"}, {"tsc10-start-after-power-on"},
        {"tsc10-start-bad-power-on"}, {"tsc10-start-refused"}, {"tsc10-start-unanswered"},
        {"pm9000-start", "pm9000-packets"}, {"pm9000-start", "pm9000-resync"}, {"pm9000-start", "pm9000-turned"},
        {"pm9000-start-retried"}, {"pm9000-start-stray-bytes"}, {"pm9000-start-late"}, {"pm9000-start-silent"},
        {"pm9000-start-unconfirmed"}, {"pm9000-start-cut-off"}, {"pm9000-start-resting"},
        {"pm9000-start-resting-late"},
        {"pm6000-start", "pm6000-packets"}, {"pm6000-start", "pm6000-resync"}, {"pm6000-start-retried"},
        {"pm6000-start-silent"},
    };
    for (const std::vector<std::string>& conversations : cases) {
        const HangGuard guard(20);
        PseudoTerminal terminal;
        const std::string& first = conversations.front();
        const std::unique_ptr<TouchScreen> driver =
            serialDriver(first.substr(0, first.find('-')), terminal.path());
        for (const std::string& name : conversations)
            play(*driver, terminal, name);
    }
}
