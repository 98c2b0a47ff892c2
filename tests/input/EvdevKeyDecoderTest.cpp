#include "input/detail/EvdevKeyDecoder.h"

#include <string>

#include <gtest/gtest.h>

#include "input/EvdevRecords.h"
#include "input/SerialController.h"

// The kernel's "AC Cancel" key shares its name with the toolkit's key.
#undef KEY_CANCEL

namespace {

const char* const c_keyNames[] = {"NONE",       "",           "",         "CONFIRM",    "CANCEL",
                                  "FOCUS_NEXT", "FOCUS_PREVIOUS", "ARROW_LEFT", "ARROW_RIGHT", "ARROW_UP",
                                  "ARROW_DOWN", "ACTIVATE_DOWN",  "ACTIVATE_UP"};
static_assert(sizeof c_keyNames / sizeof *c_keyNames == OKU::KEY_ACTIVATE_UP + 1,
              "a name for every key");

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
    OKU::EvdevKeyDecoder decoder;
    std::string keys;
    for (const std::string& line : serialtest::dataLines("keyboard-keys.stream")) {
        input_event record;
        ASSERT_TRUE(parseRecord(line, record)) << line;
        OKU::EvdevKeyDecoder::Key key;
        if (decoder.decode(record.type, record.code, record.value, key))
            keys += keyText(key) + "\n";
    }
    EXPECT_EQ(serialtest::readDataFile("keyboard-keys.expected"), keys);
}
