#ifndef OKU_GRAPHICS_PIXMAPWRITERKERNELS_H
#define OKU_GRAPHICS_PIXMAPWRITERKERNELS_H

// Private to the framebuffer writers: the conversion loops, included by each
// unit compiled for a vector extension of its own (PixmapWriters.cpp,
// PixmapWritersNeon.cpp). The loops have internal linkage on purpose: a copy
// compiled for NEON must never stand in for the one a processor without
// NEON runs.

#include <cstddef>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "graphics/Pixmap.h"
#include "graphics/PixmapWriterFormats.h"

namespace OKU {

/// convertRunOf below, compiled for NEON; on ARM only, and only where the
/// processor has NEON.
void convertRunNeon(WriterFormat format, void* dst, const Pixmap::Pixel* src, size_t count);

namespace {

/// Pixels converted per step of the vector loops: a constant count lets the
/// compiler replace them by vector code without scalar epilogues of their own.
const int c_block = 16;

/// Converts c_block pixels. A 16-bit format stores two pixels per 32-bit
/// word, so that the vector code keeps 32-bit lanes throughout instead of
/// narrowing them, which the vector units do slowly. 5-6-5, the common
/// device format, has a faster block of its own below.
template <class Format>
void convertBlock(typename Format::Word* __restrict dst, const Pixmap::Pixel* __restrict src)
{
    if constexpr (sizeof(typename Format::Word) == 2) {
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

typedef int32_t Int32x4 __attribute__((vector_size(16)));
typedef uint32_t Uint32x4 __attribute__((vector_size(16)));
typedef uint16_t Uint16x8 __attribute__((vector_size(16)));

template <class Vector>
Vector loadBytes(const uint8_t* p)
{
    Vector v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

/// Packs two vectors whose values all fit 16 bits into one, in order.
inline Uint16x8 narrow(Int32x4 low, Int32x4 high)
{
#ifdef __SSE2__
    // SSE2 has no plain narrowing and the compiler builds one from a long
    // chain of shuffles; the saturating pack is exact for these values.
    return (Uint16x8)_mm_packs_epi32((__m128i)low, (__m128i)high);
#else
    // The low halves of the 32-bit lanes: one unzip on NEON.
    return __builtin_shufflevector((Uint16x8)low, (Uint16x8)high, 0, 2, 4, 6, 8, 10, 12, 14);
#endif
}

/// 5-6-5 for eight pixels starting at the byte p. Rather than moving bytes
/// around in registers, the pixels are loaded again one and three bytes
/// early: every word then holds red << 24 | green << 16 and blue << 24
/// respectively, so that one shift per word and one pack yield red << 8 |
/// green and the top five bits of blue in 16-bit lanes.
inline void convertBGR16(uint16_t* dst, const uint8_t* p)
{
    const Int32x4 redGreenLow = loadBytes<Int32x4>(p - 1);
    const Int32x4 redGreenHigh = loadBytes<Int32x4>(p + 15);
    const Uint32x4 blueLow = loadBytes<Uint32x4>(p - 3);
    const Uint32x4 blueHigh = loadBytes<Uint32x4>(p + 13);
    // The arithmetic shift keeps each value inside the 16-bit range.
    const Uint16x8 redGreen = narrow(redGreenLow >> 16, redGreenHigh >> 16);
    const Uint16x8 blue = narrow((Int32x4)(blueLow >> 27), (Int32x4)(blueHigh >> 27));
    const Uint16x8 words = (redGreen & 0xF800) | ((redGreen << 3) & 0x07E0) | blue;
    std::memcpy(dst, &words, sizeof words);
}

/// Reads the three bytes before src, which convertRun guarantees.
template <>
void convertBlock<ToBGR16>(uint16_t* __restrict dst, const Pixmap::Pixel* __restrict src)
{
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(src);
    for (int k = 0; k < c_block; k += 8)
        convertBGR16(dst + k, bytes + k * sizeof(Pixmap::Pixel));
}

/// The first pixel is converted on its own, so that every block has pixels
/// of the run before it.
template <class Format>
void convertRun(typename Format::Word* dst, const Pixmap::Pixel* src, size_t count)
{
    if (count == 0)
        return;
    dst[0] = static_cast<typename Format::Word>(Format::convert(pixelWord(src)));
    size_t i = 1;
    for (; i + c_block <= count; i += c_block)
        convertBlock<Format>(dst + i, src + i);
    for (; i < count; ++i)
        dst[i] = static_cast<typename Format::Word>(Format::convert(pixelWord(src + i)));
}

typedef void (*RunConverter)(void* dst, const Pixmap::Pixel* src, size_t count);

template <class Format>
void convertRunOf(void* dst, const Pixmap::Pixel* src, size_t count)
{
    convertRun<Format>(static_cast<typename Format::Word*>(dst), src, count);
}

/// Converts r (cut to the image) into dst, which is laid out like the image,
/// a run of pixels at a time with convert.
template <class Format>
void convertRect(const Pixmap& image, void* dst, const Rect& r,
                 RunConverter convert = convertRunOf<Format>)
{
    const int width = image.getWidth();
    const Rect area = r.intersection(Rect(0, 0, width, image.getHeight()));
    if (area.isEmpty())
        return;
    typename Format::Word* out = static_cast<typename Format::Word*>(dst);
    // Whole rows are contiguous in both buffers: one run covers them all.
    if (area.width == width) {
        const size_t start = static_cast<size_t>(area.y) * width;
        convert(out + start, image.getRow(area.y), static_cast<size_t>(area.height) * width);
        return;
    }
    for (int y = area.y; y < area.bottom(); ++y) {
        const size_t start = static_cast<size_t>(y) * width + area.x;
        convert(out + start, image.getRow(y) + area.x, area.width);
    }
}

} // namespace

} // namespace OKU

#endif
