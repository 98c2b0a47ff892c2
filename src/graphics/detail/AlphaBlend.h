#ifndef OKU_GRAPHICS_DETAIL_ALPHABLEND_H
#define OKU_GRAPHICS_DETAIL_ALPHABLEND_H

// Private to the graphics sources: a row of pixels with alpha laid over a
// row of a pixmap without alpha, the blit that puts buttons, icons and
// shadows on the screen.

#include "graphics/Pixmap.h"

// Defined in AlphaBlend.cpp, which is compiled with the public classes: the
// declarations keep it out of the shared library's exports all the same.
#pragma GCC visibility push(hidden)

namespace OKU {

/// dst[i] gets blendOverOpaque(dst[i], src[i]) (PixelBlend.h) for every i
/// below count: an opaque source pixel is copied whole, a transparent one
/// leaves the destination, any other alpha a blends the colour channels as
/// (a * s + (255 - a) * d) >> 8 and keeps the destination's alpha byte. The
/// rows must not overlap.
void blendOverOpaqueRow(Pixmap::Pixel* dst, const Pixmap::Pixel* src, int count);

} // namespace OKU

#pragma GCC visibility pop

#endif
