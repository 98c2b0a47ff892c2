#ifndef FBEMU_EVDEVCAPABILITIES_H
#define FBEMU_EVDEVCAPABILITIES_H

#include <cstddef>

namespace fbemu {

// Answers EVIOCGBIT(type, size) for the emulated input device: clears the
// buffer and sets the bits of those capabilities in the comma-separated list
// that belong to the type (0 for the event types themselves). Known names:
// EV_SYN, EV_KEY, EV_ABS, ABS_X, ABS_Y, BTN_TOUCH; null means all of them.
// Returns the number of bytes written, as the kernel does.
int fillEvdevBits(unsigned type, const char* capabilities, unsigned char* buffer, size_t size);

} // namespace fbemu

#endif
