// Glyph coverage in one colour. Opaque destinations, those of all text on
// screen, in a colour with every channel in 0..255 take the loop of the
// run's level (detail/PixelLoops.h); the others go pixel by pixel by the
// rules of PixelBlend.h. The portable loop, also one pixel at a time, blends
// two channels to a word (detail/CoverageBlendRows.h).

#include "graphics/detail/CoverageBlend.h"

#include "graphics/PixelBlend.h"
#include "graphics/detail/CoverageBlendRows.h"
#include "graphics/detail/PixelLoops.h"

namespace OKU {

namespace detail __attribute__((visibility("hidden"))) {

void blendCoverageOpaquePortable(const CoverageBlock& block, const Color& c, bool wholeGlyph)
{
    const PixelBlend single{Ink(c, wholeGlyph)};
    forEachRow(block, [&single, &block](Pixmap::Pixel* pixels, const unsigned char* coverage) {
        for (int x = 0; x < block.width; ++x) {
            if (coverage[x] != 0)
                single.blend(pixels[x], coverage[x]);
        }
    });
}

} // namespace detail

namespace {

// The rules of PixelBlend.h one pixel at a time, for a destination with
// alpha and for colours whose channels leave 0..255.
template <class Blend>
void blendEachPixel(const CoverageBlock& block, const Color& c, bool wholeGlyph, Blend blend)
{
    // Copies, which the byte stores below could otherwise alias.
    const int red = c.red;
    const int green = c.green;
    const int blue = c.blue;
    const int alpha = c.alpha;
    const int width = block.width;
    detail::forEachRow(block, [=, &blend](Pixmap::Pixel* pixels, const unsigned char* coverage) {
        for (int x = 0; x < width; ++x) {
            const int v = coverage[x];
            if (!wholeGlyph)
                blend(pixels[x], red, green, blue, alpha * v / 256);
            else if (v != 0)
                blend(pixels[x], red, green, blue, v == 255 ? alpha : alpha * v / 256);
        }
    });
}

bool inChannelRange(const Color& c)
{
    const auto inRange = [](int channel) { return channel >= 0 && channel <= 255; };
    return inRange(c.red) && inRange(c.green) && inRange(c.blue) && inRange(c.alpha);
}

} // namespace

void blendCoverage(const CoverageBlock& block, const Color& c, bool wholeGlyph, bool destAlpha)
{
    if (destAlpha) {
        blendEachPixel(block, c, wholeGlyph, [](Pixmap::Pixel& d, int r, int g, int b, int a) {
            blendOverAlpha(d, r, g, b, a);
        });
    } else if (!inChannelRange(c)) {
        blendEachPixel(block, c, wholeGlyph, [](Pixmap::Pixel& d, int r, int g, int b, int a) {
            blendOverOpaque(d, r, g, b, a);
        });
    } else {
        detail::pixelLoops().blendCoverageOpaque(block, c, wholeGlyph);
    }
}

} // namespace OKU
