#include "EvdevCapabilities.h"

#include <cstring>
#include <linux/input.h>

#include "CommaList.h"

namespace fbemu {

namespace {

struct Capability {
    const char* name;
    unsigned type; // the EVIOCGBIT type whose bitmap holds the bit
    unsigned bit;
};

const Capability c_capabilities[] = {
    {"EV_SYN", 0, EV_SYN},       {"EV_KEY", 0, EV_KEY},       {"EV_ABS", 0, EV_ABS},
    {"ABS_X", EV_ABS, ABS_X},    {"ABS_Y", EV_ABS, ABS_Y},    {"BTN_TOUCH", EV_KEY, BTN_TOUCH},
};

} // namespace

int fillEvdevBits(unsigned type, const char* capabilities, unsigned char* buffer, size_t size)
{
    std::memset(buffer, 0, size);
    for (const Capability& c : c_capabilities) {
        if (c.type != type || c.bit / 8 >= size)
            continue;
        if (!capabilities || isListed(capabilities, c.name))
            buffer[c.bit / 8] |= static_cast<unsigned char>(1u << (c.bit % 8));
    }
    return static_cast<int>(size);
}

} // namespace fbemu
