#ifndef FBEMU_DISPLAYSTATE_H
#define FBEMU_DISPLAYSTATE_H

#include <string>

namespace fbemu {

// What a program has changed of the emulated device: the virtual height it
// asked for, the first row shown and the blanking (FBIOBLANK's level, 0 when
// the display is on). The preload library keeps it in a file beside the
// framebuffer file, FRAMEBUFFER.display, one line
// "yres_virtual=ROWS yoffset=ROW blank=LEVEL", so that the tools that look at
// the screen show the visible page; a test may write one to start with a
// device that another program left blanked. The file is replaced whole,
// never rewritten in place.
struct DisplayState {
    unsigned yresVirtual = 0;
    unsigned yoffset = 0;
    int blank = 0;
};

std::string displayStatePath(const std::string& framebuffer);

// Whole frames: a tool that must never see a frame half drawn creates
// FRAMEBUFFER.frames before the program opens the device. The preload library
// then copies the frame memory there whenever the program's drawing thread is
// between frames (it waits for work, for a child or for a descriptor, pans or
// exits), and the display state changes only with such a copy. Both happen
// under an exclusive flock on that file; readers hold a shared one.
std::string wholeFramesPath(const std::string& framebuffer);

// False, leaving state alone, when the program has changed nothing yet.
bool readDisplayState(const std::string& framebuffer, DisplayState& state);
bool writeDisplayState(const std::string& framebuffer, const DisplayState& state);

} // namespace fbemu

#endif
