#ifndef LIFEBOAT_SIM_FRAMEBUFFERVIEW_H
#define LIFEBOAT_SIM_FRAMEBUFFERVIEW_H

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/Pixmap.h"

namespace sim {

// The simulated display: 800 x 480 pixels, 32-bit x8r8g8b8 words.
struct ScreenMode {
    static const int c_width = 800;
    static const int c_height = 480;
    // The mode as the framebuffer emulation takes it.
    static const char* description() { return "800x480x32"; }
};

// The framebuffer file the program draws into, seen through a shared
// mapping, so every look sees what the program last wrote.
class FramebufferView {
public:
    // Creates the file, or extends it to the frame memory's size; throws
    // std::runtime_error when it cannot be mapped.
    explicit FramebufferView(const std::string& path);
    FramebufferView(const FramebufferView&) = delete;
    FramebufferView& operator=(const FramebufferView&) = delete;
    ~FramebufferView();

    // Black, as the display comes up after power-on.
    void clear();
    // 0xRRGGBB at the pixel, which must lie on the screen.
    uint32_t pixel(int x, int y) const;
    // Copies of the whole screen.
    std::vector<uint32_t> snapshot() const;
    OKU::Pixmap toPixmap() const;

private:
    uint32_t* m_words = nullptr;
};

} // namespace sim

#endif
