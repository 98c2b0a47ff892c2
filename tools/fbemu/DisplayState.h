#ifndef FBEMU_DISPLAYSTATE_H
#define FBEMU_DISPLAYSTATE_H

#include <string>

namespace fbemu {

// What the emulated device's panning has changed: the virtual height a
// program asked for and the first row shown. The preload library keeps it in
// a file beside the framebuffer file, FRAMEBUFFER.display, one line
// "yres_virtual=ROWS yoffset=ROW", so that the tools that look at the screen
// show the visible page. The file is replaced whole, never rewritten in place.
struct DisplayState {
    unsigned yresVirtual = 0;
    unsigned yoffset = 0;
};

std::string displayStatePath(const std::string& framebuffer);

// False, leaving state alone, when the device has never been panned.
bool readDisplayState(const std::string& framebuffer, DisplayState& state);
bool writeDisplayState(const std::string& framebuffer, const DisplayState& state);

} // namespace fbemu

#endif
