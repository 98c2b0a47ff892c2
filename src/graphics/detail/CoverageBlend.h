#ifndef OKU_GRAPHICS_DETAIL_COVERAGEBLEND_H
#define OKU_GRAPHICS_DETAIL_COVERAGEBLEND_H

// Private to the graphics sources: the inner loop of all text drawing, glyph
// coverage blended in one colour into pixels.

#include "graphics/Color.h"
#include "graphics/Pixmap.h"

// Defined in CoverageBlend.cpp, which is compiled with the public classes: the
// declarations keep it out of the shared library's exports all the same.
#pragma GCC visibility push(hidden)

namespace OKU {

/// Coverage bytes laid over pixels: both pointers at the top-left of a width x
/// height block, with rows the given number of pixels or bytes apart.
struct CoverageBlock {
    Pixmap::Pixel* pixels;
    int pixelStride;
    const unsigned char* coverage;
    int coverageStride;
    int width;
    int height;
};

/// Every pixel of the block gets the colour blend (PixelBlend.h) of its
/// pixmap's kind at alpha (c.alpha * v) / 256 for coverage v, so that coverage
/// 0 leaves the pixel. A whole glyph (one lying wholly inside the clip) draws
/// full coverage at c.alpha itself and leaves pixels of coverage 0 alone even
/// where the destination has alpha. Into a pixmap without alpha the alpha
/// bytes, 255 there, may be written as 255.
void blendCoverage(const CoverageBlock& block, const Color& c, bool wholeGlyph, bool destAlpha);

} // namespace OKU

#pragma GCC visibility pop

#endif
