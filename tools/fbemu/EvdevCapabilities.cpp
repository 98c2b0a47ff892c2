#include "EvdevCapabilities.h"

#include <cstdlib>
#include <cstring>
#include <linux/input.h>

#include "CommaList.h"

namespace fbemu {

namespace {

// A run of bits, first to last, in the EVIOCGBIT bitmap of a type (0 for the
// event types themselves). A name may cover several runs.
struct Capability {
    const char* name;
    unsigned type;
    unsigned first;
    unsigned last;
    bool singleTouch; // one of what a device reports when no list is given
};

const Capability c_capabilities[] = {
    {"EV_SYN", 0, EV_SYN, EV_SYN, true},
    {"EV_KEY", 0, EV_KEY, EV_KEY, true},
    {"EV_ABS", 0, EV_ABS, EV_ABS, true},
    {"ABS_X", EV_ABS, ABS_X, ABS_X, true},
    {"ABS_Y", EV_ABS, ABS_Y, ABS_Y, true},
    {"BTN_TOUCH", EV_KEY, BTN_TOUCH, BTN_TOUCH, true},
    {"ABS_MT_SLOT", EV_ABS, ABS_MT_SLOT, ABS_MT_SLOT, false},
    {"ABS_MT_TRACKING_ID", EV_ABS, ABS_MT_TRACKING_ID, ABS_MT_TRACKING_ID, false},
    {"ABS_MT_POSITION_X", EV_ABS, ABS_MT_POSITION_X, ABS_MT_POSITION_X, false},
    {"ABS_MT_POSITION_Y", EV_ABS, ABS_MT_POSITION_Y, ABS_MT_POSITION_Y, false},
    {"BTN_LEFT", EV_KEY, BTN_LEFT, BTN_LEFT, false},
    // Escape, the digits, Tab, the top letter row, Enter, the middle row,
    // left Shift, the bottom row, right Shift, Space, keypad Enter, arrows.
    {"KEYBOARD", EV_KEY, KEY_ESC, KEY_0, false},
    {"KEYBOARD", EV_KEY, KEY_TAB, KEY_P, false},
    {"KEYBOARD", EV_KEY, KEY_ENTER, KEY_ENTER, false},
    {"KEYBOARD", EV_KEY, KEY_A, KEY_L, false},
    {"KEYBOARD", EV_KEY, KEY_LEFTSHIFT, KEY_LEFTSHIFT, false},
    {"KEYBOARD", EV_KEY, KEY_Z, KEY_M, false},
    {"KEYBOARD", EV_KEY, KEY_RIGHTSHIFT, KEY_RIGHTSHIFT, false},
    {"KEYBOARD", EV_KEY, KEY_SPACE, KEY_SPACE, false},
    {"KEYBOARD", EV_KEY, KEY_KPENTER, KEY_KPENTER, false},
    {"KEYBOARD", EV_KEY, KEY_UP, KEY_UP, false},
    {"KEYBOARD", EV_KEY, KEY_LEFT, KEY_RIGHT, false},
    {"KEYBOARD", EV_KEY, KEY_DOWN, KEY_DOWN, false},
};

const char* axisName(unsigned axis)
{
    for (const Capability& c : c_capabilities)
        if (c.type == EV_ABS && c.first == axis)
            return c.name;
    return nullptr;
}

// "MIN:MAX" or "MIN:MAX:VALUE" up to the end of the item.
bool parseRange(const char* text, input_absinfo& info)
{
    char* end = nullptr;
    info = input_absinfo();
    info.minimum = static_cast<__s32>(std::strtol(text, &end, 10));
    if (end == text || *end != ':')
        return false;
    text = end + 1;
    info.maximum = static_cast<__s32>(std::strtol(text, &end, 10));
    if (end != text && *end == ':') {
        text = end + 1;
        info.value = static_cast<__s32>(std::strtol(text, &end, 10));
    }
    return end != text && (*end == ',' || *end == '\0');
}

} // namespace

int fillEvdevBits(unsigned type, const char* capabilities, unsigned char* buffer, size_t size)
{
    std::memset(buffer, 0, size);
    for (const Capability& c : c_capabilities) {
        if (c.type != type || !(capabilities ? isListed(capabilities, c.name) : c.singleTouch))
            continue;
        for (unsigned bit = c.first; bit <= c.last && bit / 8 < size; ++bit)
            buffer[bit / 8] |= static_cast<unsigned char>(1u << (bit % 8));
    }
    return static_cast<int>(size);
}

bool fillAbsoluteInfo(unsigned axis, const char* ranges, input_absinfo& info)
{
    const char* name = axisName(axis);
    if (!name || !ranges)
        return false;
    const size_t length = std::strlen(name);
    for (const char* item = ranges; item;) {
        const char* comma = std::strchr(item, ',');
        if (std::strncmp(item, name, length) == 0 && item[length] == ':') {
            input_absinfo parsed;
            if (!parseRange(item + length + 1, parsed))
                return false;
            info = parsed;
            return true;
        }
        item = comma ? comma + 1 : nullptr;
    }
    return false;
}

} // namespace fbemu
