#include "graphics/detail/PixelLoops.h"

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

namespace {

PixelLoops& table()
{
    static PixelLoops loops = pixelLoopsFor(pixelLoopLevel());
    return loops;
}

} // namespace

std::vector<PixelLoopLevel> builtLevels()
{
#if defined(OKU_X86_PIXEL_LOOPS)
    return {PixelLoopLevel::portable, PixelLoopLevel::sse2, PixelLoopLevel::avx2};
#elif defined(OKU_NEON_PIXEL_LOOPS)
    return {PixelLoopLevel::portable, PixelLoopLevel::neon};
#else
    return {PixelLoopLevel::portable};
#endif
}

PixelLoops pixelLoopsFor([[maybe_unused]] PixelLoopLevel level)
{
    PixelLoops loops{PixelLoopLevel::portable, blendOverOpaqueRowPortable,
                     blendCoverageOpaquePortable, runConvertersPortable()};
#if defined(OKU_X86_PIXEL_LOOPS)
    if (level == PixelLoopLevel::sse2 || level == PixelLoopLevel::avx2)
        loops = PixelLoops{PixelLoopLevel::sse2, blendOverOpaqueRowSse2, blendCoverageOpaqueSse2,
                           runConvertersSse2()};
    if (level == PixelLoopLevel::avx2) {
        loops.level = PixelLoopLevel::avx2;
        loops.blendOverOpaqueRow = blendOverOpaqueRowAvx2;
        loops.blendCoverageOpaque = blendCoverageOpaqueAvx2;
        loops.convertRun[static_cast<size_t>(WriterFormat::BGR16)] = convertRunBGR16Avx2;
    }
#elif defined(OKU_NEON_PIXEL_LOOPS)
    if (level == PixelLoopLevel::neon)
        loops = PixelLoops{PixelLoopLevel::neon, blendOverOpaqueRowNeon, blendCoverageOpaqueNeon,
                           runConvertersNeon()};
#endif
    return loops;
}

const PixelLoops& pixelLoops()
{
    return table();
}

void usePixelLoops(PixelLoopLevel level)
{
    table() = pixelLoopsFor(level);
}

} // namespace detail
} // namespace OKU
