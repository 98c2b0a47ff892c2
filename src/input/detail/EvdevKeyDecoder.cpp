#include "input/detail/EvdevKeyDecoder.h"

#include <cstring>
#include <linux/input.h>

// The kernel's name for the "AC Cancel" key, which no keyboard here needs,
// is the toolkit's name for the cancelling key.
#undef KEY_CANCEL

namespace OKU {

namespace {

const int c_released = 0;
const int c_pressed = 1;
const int c_repeated = 2;

// The bit of a Shift or activating key in the sets of keys held down; 0 for
// any other key.
unsigned shiftBit(unsigned code)
{
    return code == KEY_LEFTSHIFT ? 1u : code == KEY_RIGHTSHIFT ? 2u : 0u;
}

unsigned activatorBit(unsigned code)
{
    switch (code) {
    case KEY_ENTER:
        return 1u;
    case KEY_KPENTER:
        return 2u;
    case KEY_SPACE:
        return 4u;
    default:
        return 0u;
    }
}

KeyCode navigationKey(unsigned code, bool shifted)
{
    switch (code) {
    case KEY_TAB:
        return shifted ? KEY_FOCUS_PREVIOUS : KEY_FOCUS_NEXT;
    case KEY_LEFT:
        return KEY_ARROW_LEFT;
    case KEY_RIGHT:
        return KEY_ARROW_RIGHT;
    case KEY_UP:
        return KEY_ARROW_UP;
    case KEY_DOWN:
        return KEY_ARROW_DOWN;
    default:
        return KEY_NONE;
    }
}

// The letters' codes follow the keyboard's rows, not the alphabet.
const struct {
    unsigned first;
    const char* letters;
} c_letterRows[] = {{KEY_Q, "qwertyuiop"}, {KEY_A, "asdfghjkl"}, {KEY_Z, "zxcvbnm"}};

wchar_t character(unsigned code, bool shifted)
{
    if (code >= KEY_1 && code <= KEY_9)
        return static_cast<wchar_t>(L'1' + (code - KEY_1));
    if (code == KEY_0)
        return L'0';
    for (const auto& row : c_letterRows) {
        if (code < row.first || code - row.first >= std::strlen(row.letters))
            continue;
        const char letter = row.letters[code - row.first];
        return static_cast<wchar_t>(shifted ? letter - 'a' + 'A' : letter);
    }
    return 0;
}

} // namespace

bool EvdevKeyDecoder::decode(unsigned type, unsigned code, int value, Key& key)
{
    if (type != EV_KEY || value < c_released || value > c_repeated)
        return false;
    if (const unsigned bit = shiftBit(code)) {
        m_shiftsDown = value == c_released ? m_shiftsDown & ~bit : m_shiftsDown | bit;
        return false;
    }
    if (const unsigned bit = activatorBit(code)) {
        if (value == c_repeated)
            return false;
        const unsigned before = m_activatorsDown;
        m_activatorsDown = value == c_released ? before & ~bit : before | bit;
        // A release whose press came before the keyboard was opened gives
        // nothing, as the press gave nothing.
        if ((before == 0) == (m_activatorsDown == 0))
            return false;
        key = Key();
        key.code = before == 0 ? KEY_ACTIVATE_DOWN : KEY_ACTIVATE_UP;
        return true;
    }
    return value != c_released && decodePress(code, value == c_repeated, key);
}

bool EvdevKeyDecoder::decodePress(unsigned code, bool repeated, Key& key) const
{
    Key decoded;
    if (code == KEY_ESC && !repeated)
        decoded.code = KEY_CANCEL;
    else
        decoded.code = navigationKey(code, m_shiftsDown != 0);
    if (decoded.code == KEY_NONE)
        decoded.character = character(code, m_shiftsDown != 0);
    if (decoded.code == KEY_NONE && decoded.character == 0)
        return false;
    key = decoded;
    return true;
}

} // namespace OKU
