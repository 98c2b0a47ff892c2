// The framebuffer writers' loops (detail/PixmapWriterKernels.h) with SSE2.

#include "graphics/detail/PixelLoops.h"

#if defined(OKU_X86_PIXEL_LOOPS)

#include <emmintrin.h>

#include "graphics/detail/PixmapWriterKernels.h"

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

namespace {

// SSE2 has no plain narrowing and the compiler builds one from a long chain
// of shuffles; the saturating pack is exact for the values the loops pack.
struct SaturatingPack {
    static Uint16x8 narrow(Int32x4 low, Int32x4 high)
    {
        return (Uint16x8)_mm_packs_epi32((__m128i)low, (__m128i)high);
    }
};

} // namespace

RunConverters runConvertersSse2()
{
    return runConverters<SaturatingPack>();
}

} // namespace detail
} // namespace OKU

#endif
