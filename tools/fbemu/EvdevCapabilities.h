#ifndef FBEMU_EVDEVCAPABILITIES_H
#define FBEMU_EVDEVCAPABILITIES_H

#include <cstddef>

struct input_absinfo;

namespace fbemu {

// Answers EVIOCGBIT(type, size) for an emulated input device: clears the
// buffer and sets the bits of those capabilities in the comma-separated list
// that belong to the type (0 for the event types themselves). Known names:
// EV_SYN, EV_KEY, EV_ABS, ABS_X, ABS_Y, BTN_TOUCH (a single-touch panel),
// ABS_MT_SLOT, ABS_MT_TRACKING_ID, ABS_MT_POSITION_X, ABS_MT_POSITION_Y
// (a multitouch panel), BTN_LEFT (a tablet) and KEYBOARD (the letter, digit,
// arrow, Tab, Enter, keypad Enter, Space, Escape and both Shift keys). Null
// means a single-touch panel: the first six. Returns the number of bytes
// written, as the kernel does.
int fillEvdevBits(unsigned type, const char* capabilities, unsigned char* buffer, size_t size);

// Answers EVIOCGABS(axis) from a comma-separated list of "NAME:MIN:MAX"
// ranges, or "NAME:MIN:MAX:VALUE" with where the axis stands (0 otherwise),
// NAME one of the ABS_ names above. False when the list (or null)
// has no range for the axis, as the kernel fails for an axis it lacks.
bool fillAbsoluteInfo(unsigned axis, const char* ranges, input_absinfo& info);

} // namespace fbemu

#endif
