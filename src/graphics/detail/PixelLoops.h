#ifndef OKU_GRAPHICS_DETAIL_PIXELLOOPS_H
#define OKU_GRAPHICS_DETAIL_PIXELLOOPS_H

// Private to the graphics sources: the table through which the pixel loops
// are called, and the kernels that fill it. Every instruction set has a file
// of its own per family (AlphaBlendSse2.cpp, CoverageBlendNeon.cpp, ...),
// which compiles to nothing where the target has no such instructions; the
// portable kernels sit in the family's main file (AlphaBlend.cpp, ...).

#include <array>
#include <cstddef>
#include <vector>

#include "graphics/Color.h"
#include "graphics/Pixmap.h"
#include "graphics/detail/CoverageBlend.h"
#include "graphics/detail/CpuFeatures.h"
#include "graphics/detail/PixmapWriterFormats.h"

// The x86 kernels need SSE2 in the baseline. Their AVX2 functions are
// compiled for AVX2 one by one through target attributes, never as whole
// files, so that no inline function of a shared header gets an AVX2 copy
// that a processor without AVX2 could end up running.
#if defined(__SSE2__) && defined(__GNUC__)
#define OKU_X86_PIXEL_LOOPS
#define OKU_AVX2 __attribute__((target("avx2")))
#endif
#if defined(__arm__) || defined(__aarch64__)
#define OKU_NEON_PIXEL_LOOPS
#endif

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

typedef void (*AlphaBlendRow)(Pixmap::Pixel* dst, const Pixmap::Pixel* src, int count);
typedef void (*CoverageBlendOpaque)(const CoverageBlock& block, const Color& c, bool wholeGlyph);
typedef void (*RunConverter)(void* dst, const Pixmap::Pixel* src, size_t count);
/// One converter for each WriterFormat, in the order of its values.
typedef std::array<RunConverter, 3> RunConverters;

struct PixelLoops {
    PixelLoopLevel level;
    /// blendOverOpaqueRow (AlphaBlend.h).
    AlphaBlendRow blendOverOpaqueRow;
    /// blendCoverage into a pixmap without alpha, in a colour with every
    /// channel in 0..255 (CoverageBlend.h).
    CoverageBlendOpaque blendCoverageOpaque;
    /// convertPixels (PixmapWriterFormats.h).
    RunConverters convertRun;
};

/// The levels this build has kernels for, lowest first.
std::vector<PixelLoopLevel> builtLevels();

/// For every family the kernel of level, or of the nearest level below it
/// that has one: avx2, sse2, portable on x86; neon, portable on ARM.
PixelLoops pixelLoopsFor(PixelLoopLevel level);

/// The table, filled at the first call with pixelLoopsFor(pixelLoopLevel()).
const PixelLoops& pixelLoops();

/// Fills the table anew with the kernels of level, which the processor must
/// run: tests and benchmarks compare the levels in one run. No other thread
/// may draw meanwhile.
void usePixelLoops(PixelLoopLevel level);

void blendOverOpaqueRowPortable(Pixmap::Pixel* dst, const Pixmap::Pixel* src, int count);
void blendOverOpaqueRowSse2(Pixmap::Pixel* dst, const Pixmap::Pixel* src, int count);
void blendOverOpaqueRowAvx2(Pixmap::Pixel* dst, const Pixmap::Pixel* src, int count);
void blendOverOpaqueRowNeon(Pixmap::Pixel* dst, const Pixmap::Pixel* src, int count);

void blendCoverageOpaquePortable(const CoverageBlock& block, const Color& c, bool wholeGlyph);
void blendCoverageOpaqueSse2(const CoverageBlock& block, const Color& c, bool wholeGlyph);
void blendCoverageOpaqueAvx2(const CoverageBlock& block, const Color& c, bool wholeGlyph);
void blendCoverageOpaqueNeon(const CoverageBlock& block, const Color& c, bool wholeGlyph);

RunConverters runConvertersPortable();
RunConverters runConvertersSse2();
RunConverters runConvertersNeon();
/// AVX2 has a loop of its own for 5-6-5 only.
void convertRunBGR16Avx2(void* dst, const Pixmap::Pixel* src, size_t count);

} // namespace detail
} // namespace OKU

#endif
