// Source pixels with alpha over a pixmap without alpha, four at a time with
// SSE2 (detail/AlphaBlendSse2.h), the rest singly.

#include "graphics/detail/PixelLoops.h"

#if defined(OKU_X86_PIXEL_LOOPS)

#include "graphics/PixelBlend.h"
#include "graphics/detail/AlphaBlendSse2.h"

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

void blendOverOpaqueRowSse2(Pixmap::Pixel* dst, const Pixmap::Pixel* src, int count)
{
    int i = 0;
    for (; i + 4 <= count; i += 4)
        blendFour(dst + i, src + i);
    for (; i < count; ++i)
        blendOverOpaque(dst[i], src[i]);
}

} // namespace detail
} // namespace OKU

#endif
