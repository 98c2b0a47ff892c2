#ifndef OKU_INPUT_DETAIL_EVDEVKEYDECODER_H
#define OKU_INPUT_DETAIL_EVDEVKEYDECODER_H

#include "input/KeyCode.h"

namespace OKU {

/// Turns the records of one evdev keyboard into the toolkit's keys:
///
///     Tab                          KEY_FOCUS_NEXT, with a Shift key down
///                                  KEY_FOCUS_PREVIOUS
///     arrows                       KEY_ARROW_LEFT, _RIGHT, _UP, _DOWN
///     Enter, keypad Enter, Space   KEY_ACTIVATE_DOWN when the first of them goes
///                                  down, KEY_ACTIVATE_UP when the last comes up
///     Escape                       KEY_CANCEL
///     letters, digits              KEY_NONE with the character, a letter in
///                                  upper case while a Shift key is down
///
/// Records are (type, code, value) as the kernel's input_event carries them:
/// for EV_KEY, value 1 is a press, 0 a release, 2 the keyboard's autorepeat.
/// Autorepeat moves the focus and types again, but never activates or cancels
/// twice: holding Enter is one long press. Everything else is ignored.
class EvdevKeyDecoder {
public:
    /// A decoded key: its key code and the character it types, if any.
    struct Key {
        KeyCode code = KEY_NONE;
        wchar_t character = 0;
    };

    /// Whether the record gives a key, then stored in key.
    bool decode(unsigned type, unsigned code, int value, Key& key);

private:
    bool decodePress(unsigned code, bool repeated, Key& key) const;

    /// One bit per key held down, so that the other Shift key or activating
    /// key still counts when one is released.
    unsigned m_shiftsDown = 0;
    unsigned m_activatorsDown = 0;
};

} // namespace OKU

#endif
