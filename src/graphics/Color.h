#ifndef OKU_GRAPHICS_COLOR_H
#define OKU_GRAPHICS_COLOR_H

#include <cstdint>
#include <tuple>

namespace OKU {

/// Channels 0..255, not premultiplied; alpha 0 is transparent, 255 opaque.
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
    bool operator<(const Color& o) const
    {
        return std::tie(red, green, blue, alpha) < std::tie(o.red, o.green, o.blue, o.alpha);
    }

    /// Gray with green weighted twice; alpha unchanged.
    void desaturate()
    {
        red = green = blue = (red + 2 * green + blue) / 4;
    }

    /// Weighted mean of every channel, alpha included, truncating toward zero.
    static Color mix(const Color& c1, int w1, const Color& c2, int w2)
    {
        const int sum = w1 + w2;
        return Color((c1.red * w1 + c2.red * w2) / sum, (c1.green * w1 + c2.green * w2) / sum,
                     (c1.blue * w1 + c2.blue * w2) / sum, (c1.alpha * w1 + c2.alpha * w2) / sum);
    }
};

} // namespace OKU

#endif
