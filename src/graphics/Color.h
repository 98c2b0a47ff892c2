#ifndef OKU_GRAPHICS_COLOR_H
#define OKU_GRAPHICS_COLOR_H

#include <cstdint>

namespace OKU {

// Channels 0..255, not premultiplied; alpha 0 is transparent, 255 opaque.
struct Color {
    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
    int32_t alpha = 255;

    Color() = default;
    Color(int32_t r, int32_t g, int32_t b, int32_t a = 255) : red(r), green(g), blue(b), alpha(a) {}

    bool operator==(const Color& o) const
    {
        return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
    }
    bool operator!=(const Color& o) const { return !(*this == o); }
};

} // namespace OKU

#endif
