#ifndef LIFEBOAT_SIM_SCREEN_H
#define LIFEBOAT_SIM_SCREEN_H

#include <cstdint>
#include <vector>

#include "graphics/Pixmap.h"

namespace sim {

// The device's display panel: 800 x 480 pixels, 32-bit x8r8g8b8 words.
struct ScreenMode {
    static const int c_width = 800;
    static const int c_height = 480;
    // The mode as the framebuffer emulation takes it.
    static const char* description() { return "800x480x32"; }
};

// What the display shows, as far as the commands that look at it need.
class Screen {
public:
    virtual ~Screen() = default;

    virtual int width() const { return ScreenMode::c_width; }
    virtual int height() const { return ScreenMode::c_height; }
    // The whole screen, 0xRRGGBB words row by row.
    virtual std::vector<uint32_t> snapshot() const = 0;
    // 0xRRGGBB at the pixel, which must lie on the screen.
    virtual uint32_t pixel(int x, int y) const;
    OKU::Pixmap toPixmap() const;
};

} // namespace sim

#endif
