// Glyph coverage into a pixmap without alpha with SSE2: rows eight pixels at
// a time, then four (detail/CoverageBlendSse2.h).

#include "graphics/detail/PixelLoops.h"

#if defined(OKU_X86_PIXEL_LOOPS)

#include "graphics/detail/CoverageBlendSse2.h"

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

void blendCoverageOpaqueSse2(const CoverageBlock& block, const Color& c, bool wholeGlyph)
{
    blendRows<GroupBlend>(block, Ink(c, wholeGlyph));
}

} // namespace detail
} // namespace OKU

#endif
