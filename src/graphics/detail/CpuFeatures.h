#ifndef OKU_GRAPHICS_DETAIL_CPUFEATURES_H
#define OKU_GRAPHICS_DETAIL_CPUFEATURES_H

// The instruction set levels the pixel loops (the blends of pixmaps and
// glyphs, the framebuffer writers) come in, and the one a run takes: the
// highest the processor has, unless the environment switches it off.
//
// OKU_DISABLE lists levels to switch off, separated by spaces or commas
// ("avx2", "sse2", "neon"; other words are ignored with a trace warning).
// Each level builds on the one below it, so that switching a level off also
// switches off those above it: "sse2" leaves the portable loops on any x86
// processor. OKU_NO_AVX2 and OKU_NO_NEON, set to anything but empty, switch
// off avx2 and neon as well.

#include <vector>

namespace OKU {

/// In the order in which they build on each other: portable, sse2, avx2 on
/// x86; portable, neon on ARM.
enum class PixelLoopLevel { portable, sse2, avx2, neon };

/// "portable", "sse2", "avx2" or "neon".
const char* levelName(PixelLoopLevel level);

/// The levels this build and this processor can run, lowest first.
std::vector<PixelLoopLevel> supportedPixelLoopLevels();

/// The level of this run, chosen at the first call from the processor and
/// the environment.
PixelLoopLevel pixelLoopLevel();

} // namespace OKU

#endif
