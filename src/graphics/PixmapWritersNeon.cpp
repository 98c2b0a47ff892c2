// The framebuffer writers' loops (detail/PixmapWriterKernels.h) compiled for
// NEON, into which the compiler turns them. Debian's armhf baseline has no
// NEON, so the code after the shared headers is compiled for it by the
// pragma below, as in AlphaBlendNeon.cpp; the table of the pixel loops takes
// this unit only on processors that have NEON (CpuFeatures.h).

#include "graphics/detail/PixelLoops.h"

#if defined(OKU_NEON_PIXEL_LOOPS)

#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(__arm__)
#pragma GCC push_options
#pragma GCC target("fpu=neon")
#endif

// Internal linkage throughout, so compiled for NEON here alone.
#include "graphics/detail/PixmapWriterKernels.h"

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

RunConverters runConvertersNeon()
{
    return runConverters<LowHalves>();
}

} // namespace detail
} // namespace OKU

#if defined(__arm__)
#pragma GCC pop_options
#endif

#endif
