#ifndef FBEMU_FRAMEBUFFERMODE_H
#define FBEMU_FRAMEBUFFERMODE_H

#include <linux/fb.h>

namespace fbemu {

// The screen information an emulated framebuffer device reports.
struct FramebufferMode {
    fb_fix_screeninfo fix;
    fb_var_screeninfo var;
};

// Builds the mode from its description "WIDTHxHEIGHTxDEPTH", DEPTH being
// 32 (x8r8g8b8), 24 (r8g8b8), 16 (r5g6b5), 16-555 (r5g5b5 with red at 11),
// 15 (x1b5g5r5) or 8 (palette). lineLength is the distance of two rows in
// bytes; null or empty gives rows without padding. The frame memory holds
// exactly HEIGHT rows. False when either text cannot be understood.
bool parseFramebufferMode(const char* description, const char* lineLength, FramebufferMode& mode);

} // namespace fbemu

#endif
