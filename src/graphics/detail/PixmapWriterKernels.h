#ifndef OKU_GRAPHICS_DETAIL_PIXMAPWRITERKERNELS_H
#define OKU_GRAPHICS_DETAIL_PIXMAPWRITERKERNELS_H

// Private to the framebuffer writers: the device word of each format and
// the loops that convert runs of pixels, written so that the compiler turns
// them into vector code of the unit's instruction set (PixmapWriters.cpp,
// PixmapWritersSse2.cpp, PixmapWritersNeon.cpp). The loops have internal
// linkage on purpose: a copy compiled for NEON must never stand in for the
// one a processor without NEON runs.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "graphics/Pixmap.h"
#include "graphics/detail/PixelLoops.h"
#include "graphics/detail/PixmapWriterFormats.h"

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

namespace {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the writers read a pixel as the little-endian word 0xAARRGGBB");

inline uint32_t pixelWord(const Pixmap::Pixel* p)
{
    uint32_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

/// The top byte (alpha) is dropped.
struct ToRGB32 {
    typedef uint32_t Word;
    static uint32_t convert(uint32_t p) { return p & 0x00FFFFFF; }
};

/// 5-6-5, red in the top bits.
struct ToBGR16 {
    typedef uint16_t Word;
    static uint32_t convert(uint32_t p)
    {
        return ((p >> 8) & 0xF800) | ((p >> 5) & 0x07E0) | ((p >> 3) & 0x001F);
    }
};

/// 5-5-5, red in the low bits, bit 15 clear.
struct ToRGB15 {
    typedef uint16_t Word;
    static uint32_t convert(uint32_t p)
    {
        return ((p << 7) & 0x7C00) | ((p >> 6) & 0x03E0) | ((p >> 19) & 0x001F);
    }
};

/// Pixels converted per step of the vector loops: a constant count lets the
/// compiler replace them by vector code without scalar epilogues of their own.
const int c_block = 16;

typedef int32_t Int32x4 __attribute__((vector_size(16)));
typedef uint32_t Uint32x4 __attribute__((vector_size(16)));
typedef uint16_t Uint16x8 __attribute__((vector_size(16)));

/// Packs two vectors whose values all fit 16 bits into one, in order: the
/// low halves of the 32-bit lanes, one unzip on NEON. Instruction sets
/// without a plain narrowing bring one of their own in its place.
struct LowHalves {
    static Uint16x8 narrow(Int32x4 low, Int32x4 high)
    {
        return __builtin_shufflevector((Uint16x8)low, (Uint16x8)high, 0, 2, 4, 6, 8, 10, 12, 14);
    }
};

template <class Vector>
Vector loadBytes(const uint8_t* p)
{
    Vector v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

/// 5-6-5 for eight pixels starting at the byte p. Rather than moving bytes
/// around in registers, the pixels are loaded again one and three bytes
/// early: every word then holds red << 24 | green << 16 and blue << 24
/// respectively, so that one shift per word and one pack yield red << 8 |
/// green and the top five bits of blue in 16-bit lanes.
template <class Narrowing>
void convertBGR16(uint16_t* dst, const uint8_t* p)
{
    const Int32x4 redGreenLow = loadBytes<Int32x4>(p - 1);
    const Int32x4 redGreenHigh = loadBytes<Int32x4>(p + 15);
    const Uint32x4 blueLow = loadBytes<Uint32x4>(p - 3);
    const Uint32x4 blueHigh = loadBytes<Uint32x4>(p + 13);
    // The arithmetic shift keeps each value inside the 16-bit range.
    const Uint16x8 redGreen = Narrowing::narrow(redGreenLow >> 16, redGreenHigh >> 16);
    const Uint16x8 blue = Narrowing::narrow((Int32x4)(blueLow >> 27), (Int32x4)(blueHigh >> 27));
    const Uint16x8 words = (redGreen & 0xF800) | ((redGreen << 3) & 0x07E0) | blue;
    std::memcpy(dst, &words, sizeof words);
}

/// Converts c_block pixels. A 16-bit format stores two pixels per 32-bit
/// word, so that the vector code keeps 32-bit lanes throughout instead of
/// narrowing them, which the vector units do slowly. 5-6-5, the common
/// device format, has a faster block of its own, which reads the three bytes
/// before src; convertRun guarantees them.
template <class Format, class Narrowing>
void convertBlock(typename Format::Word* __restrict dst, const Pixmap::Pixel* __restrict src)
{
    if constexpr (std::is_same<Format, ToBGR16>::value) {
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(src);
        for (int k = 0; k < c_block; k += 8)
            convertBGR16<Narrowing>(dst + k, bytes + k * sizeof(Pixmap::Pixel));
    } else if constexpr (sizeof(typename Format::Word) == 2) {
        for (int k = 0; k < c_block; k += 2) {
            const uint32_t pair =
                Format::convert(pixelWord(src + k)) | Format::convert(pixelWord(src + k + 1)) << 16;
            std::memcpy(dst + k, &pair, sizeof pair);
        }
    } else {
        for (int k = 0; k < c_block; ++k)
            dst[k] = static_cast<typename Format::Word>(Format::convert(pixelWord(src + k)));
    }
}

/// The first pixel is converted on its own, so that every block has pixels
/// of the run before it.
template <class Format, class Narrowing>
void convertRun(void* words, const Pixmap::Pixel* src, size_t count)
{
    typename Format::Word* dst = static_cast<typename Format::Word*>(words);
    if (count == 0)
        return;
    dst[0] = static_cast<typename Format::Word>(Format::convert(pixelWord(src)));
    size_t i = 1;
    for (; i + c_block <= count; i += c_block)
        convertBlock<Format, Narrowing>(dst + i, src + i);
    for (; i < count; ++i)
        dst[i] = static_cast<typename Format::Word>(Format::convert(pixelWord(src + i)));
}

/// The loops of every format, in the order of WriterFormat.
template <class Narrowing>
RunConverters runConverters()
{
    return {convertRun<ToRGB32, Narrowing>, convertRun<ToBGR16, Narrowing>,
            convertRun<ToRGB15, Narrowing>};
}

} // namespace

} // namespace detail
} // namespace OKU

#endif
