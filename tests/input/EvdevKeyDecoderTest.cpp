#include "input/EvdevKeyDecoder.h"

#include <linux/input.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "input/SerialController.h"

// The kernel's "AC Cancel" key shares its name with the toolkit's key.
#undef KEY_CANCEL

namespace {

#define NAMED(code) {#code, code}
const std::map<std::string, unsigned> c_recordNames = {
    NAMED(EV_KEY),    NAMED(EV_SYN),    NAMED(EV_MSC),   NAMED(SYN_REPORT), NAMED(MSC_SCAN),      NAMED(KEY_TAB),
    NAMED(KEY_Q),     NAMED(KEY_P),     NAMED(KEY_A),    NAMED(KEY_L),      NAMED(KEY_Z),         NAMED(KEY_M),
    NAMED(KEY_1),     NAMED(KEY_9),     NAMED(KEY_0),    NAMED(KEY_LEFT),   NAMED(KEY_RIGHT),     NAMED(KEY_UP),
    NAMED(KEY_DOWN),  NAMED(KEY_ENTER), NAMED(KEY_SPACE), NAMED(KEY_ESC),   NAMED(KEY_F1),        NAMED(BTN_TOUCH),
    NAMED(KEY_KPENTER), NAMED(KEY_LEFTSHIFT), NAMED(KEY_RIGHTSHIFT), NAMED(KEY_LEFTCTRL),
};
#undef NAMED

const char* const c_keyNames[] = {"NONE",       "",           "",         "CONFIRM",    "CANCEL",
                                  "FOCUS_NEXT", "FOCUS_PREVIOUS", "ARROW_LEFT", "ARROW_RIGHT", "ARROW_UP",
                                  "ARROW_DOWN", "ACTIVATE_DOWN",  "ACTIVATE_UP"};
static_assert(sizeof c_keyNames / sizeof *c_keyNames == OKU::KEY_ACTIVATE_UP + 1, "a name for every key");

std::string keyText(const OKU::EvdevKeyDecoder::Key& key)
{
    if (key.code == OKU::KEY_NONE)
        return "char " + std::string(1, static_cast<char>(key.character));
    return c_keyNames[key.code];
}

} // namespace

// A recorded stream of a keyboard's records and the keys it must give.
TEST(EvdevKeyDecoder, RecordedStreamGivesTheKeys)
{
    std::istringstream stream(serialtest::readDataFile("keyboard-keys.stream"));
    OKU::EvdevKeyDecoder decoder;
    std::string keys;
    for (std::string line; std::getline(stream, line);) {
        std::istringstream fields(line.substr(0, line.find('#')));
        std::string type, code;
        int value = 0;
        if (!(fields >> type))
            continue;
        ASSERT_TRUE(fields >> code >> value && c_recordNames.count(type) && c_recordNames.count(code)) << line;
        OKU::EvdevKeyDecoder::Key key;
        if (decoder.decode(c_recordNames.at(type), c_recordNames.at(code), value, key))
            keys += keyText(key) + "\n";
    }
    EXPECT_EQ(serialtest::readDataFile("keyboard-keys.expected"), keys);
}
