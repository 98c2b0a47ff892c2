#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "input/PM6000TouchScreen.h"
#include "input/PM9000TouchScreen.h"
#include "input/SerialController.h"
#include "input/TSC10TouchScreen.h"

using namespace OKU;
using namespace serialtest;

namespace {

// The driver of the controller a conversation is named after, for an
// 800 x 480 screen; the PenMount ones at 19200 baud without a calibration.
std::unique_ptr<TouchScreen> driverFor(const std::string& conversation, const std::string& device)
{
    const std::string model = conversation.substr(0, conversation.find('-'));
    if (model == "tsc10")
        return std::make_unique<TSC10TouchScreen>(device, 800, 480);
    if (model == "pm9000")
        return std::make_unique<PM9000TouchScreen>(device, 19200, 800, 480, "/nonexistent/tscal.dat");
    return std::make_unique<PM6000TouchScreen>(device, 19200, 800, 480, "/nonexistent/tscal.dat");
}

} // namespace

// Each case is a driver's life from power on: its start-up, and what follows
// on the same line (see play() for the files).
TEST(SerialConversationTest, DriversAndControllersAgree)
{
    const std::vector<std::vector<std::string>> cases = {
        {"tsc10-start", "tsc10-commands"}, {"tsc10-start-after-power-on"}, {"tsc10-start-bad-power-on"},
        {"tsc10-start-refused"}, {"tsc10-start-unanswered"},
        {"pm9000-start", "pm9000-packets"}, {"pm9000-start", "pm9000-resync"}, {"pm9000-start", "pm9000-turned"},
        {"pm9000-start-retried"}, {"pm9000-start-stray-bytes"}, {"pm9000-start-late"}, {"pm9000-start-silent"},
        {"pm9000-start-unconfirmed"}, {"pm9000-start-cut-off"},
        {"pm6000-start", "pm6000-packets"}, {"pm6000-start", "pm6000-resync"}, {"pm6000-start-retried"},
        {"pm6000-start-silent"},
    };
    for (const std::vector<std::string>& conversations : cases) {
        const HangGuard guard(20);
        PseudoTerminal terminal;
        const std::unique_ptr<TouchScreen> driver = driverFor(conversations.front(), terminal.path());
        for (const std::string& name : conversations)
            play(*driver, terminal, name);
    }
}
