// Source pixels with alpha over a pixmap without alpha: the entry, which
// takes the loop of the run's level (detail/PixelLoops.h), and the portable
// loop, one pixel at a time.

#include "graphics/detail/AlphaBlend.h"

#include "graphics/PixelBlend.h"
#include "graphics/detail/PixelLoops.h"

namespace OKU {

void blendOverOpaqueRow(Pixmap::Pixel* dst, const Pixmap::Pixel* src, int count)
{
    detail::pixelLoops().blendOverOpaqueRow(dst, src, count);
}

namespace detail __attribute__((visibility("hidden"))) {

void blendOverOpaqueRowPortable(Pixmap::Pixel* dst, const Pixmap::Pixel* src, int count)
{
    for (int i = 0; i < count; ++i)
        blendOverOpaque(dst[i], src[i]);
}

} // namespace detail

} // namespace OKU
