#ifndef OKU_GRAPHICS_PIXELBLEND_H
#define OKU_GRAPHICS_PIXELBLEND_H

// Private to the graphics sources: the per-pixel blend rules every drawing
// primitive and blit shares. Two destination kinds exist:
//  - blendOverOpaque: a pixmap without alpha. The cheap rule, dividing by 256
//    (>> 8) and rounding down, so white at alpha 128 over white gives 254; the
//    destination's alpha byte is kept (it is 255 in such a pixmap).
//  - blendOverAlpha: a pixmap with alpha. Both pixels are composed exactly,
//    D = 255 * (a + da) - a * da being 255 times the resulting alpha.
// A fully transparent destination pixel takes the source as it is, colour
// channels included, even when the source alpha is 0.

#include "graphics/Pixmap.h"

namespace OKU {

/// Colour (r, g, b, a), channels 0..255, into a pixel of a pixmap without alpha.
inline void blendOverOpaque(Pixmap::Pixel& d, int r, int g, int b, int a)
{
    if (a >= 255) {
        d.blue = static_cast<uint8_t>(b);
        d.green = static_cast<uint8_t>(g);
        d.red = static_cast<uint8_t>(r);
        d.alpha = 255;
        return;
    }
    if (a <= 0)
        return;
    const int na = 255 - a;
    d.blue = static_cast<uint8_t>((a * b + na * d.blue) >> 8);
    d.green = static_cast<uint8_t>((a * g + na * d.green) >> 8);
    d.red = static_cast<uint8_t>((a * r + na * d.red) >> 8);
}

/// Colour (r, g, b, a) into a pixel of a pixmap with alpha.
inline void blendOverAlpha(Pixmap::Pixel& d, int r, int g, int b, int a)
{
    const int da = d.alpha;
    if (da == 0 || a >= 255) {
        d.blue = static_cast<uint8_t>(b);
        d.green = static_cast<uint8_t>(g);
        d.red = static_cast<uint8_t>(r);
        d.alpha = static_cast<uint8_t>(a);
        return;
    }
    if (a <= 0)
        return;
    const int sa = 255 * a;
    const int dw = (255 - a) * da;
    const int D = 255 * (a + da) - a * da;
    d.blue = static_cast<uint8_t>((sa * b + dw * d.blue) / D);
    d.green = static_cast<uint8_t>((sa * g + dw * d.green) / D);
    d.red = static_cast<uint8_t>((sa * r + dw * d.red) / D);
    d.alpha = static_cast<uint8_t>(D / 255);
}

/// Source pixel over a pixel of a pixmap without alpha; an opaque source is
/// copied whole.
inline void blendOverOpaque(Pixmap::Pixel& d, const Pixmap::Pixel& s)
{
    if (s.alpha == 255)
        d = s;
    else if (s.alpha != 0)
        blendOverOpaque(d, s.red, s.green, s.blue, s.alpha);
}

/// Source pixel over a pixel of a pixmap with alpha; the source is copied whole
/// onto a transparent destination or when it is opaque.
inline void blendOverAlpha(Pixmap::Pixel& d, const Pixmap::Pixel& s)
{
    if (d.alpha == 0 || s.alpha == 255)
        d = s;
    else if (s.alpha != 0)
        blendOverAlpha(d, s.red, s.green, s.blue, s.alpha);
}

/// The colour blend for either destination kind.
inline void blendColor(Pixmap::Pixel& d, const Color& c, bool destAlpha)
{
    if (destAlpha)
        blendOverAlpha(d, c.red, c.green, c.blue, c.alpha);
    else
        blendOverOpaque(d, c.red, c.green, c.blue, c.alpha);
}

/// The colour blend of the pixel at absolute (x, y) if it lies inside clip.
inline void plotClipped(Pixmap& image, const Rect& clip, int x, int y, const Color& c)
{
    if (clip.contains(Point(x, y)))
        blendColor(image.getRow(y)[x], c, image.hasAlpha());
}

} // namespace OKU

#endif
