#ifndef OKU_GRAPHICS_PIXMAPWRITERFORMATS_H
#define OKU_GRAPHICS_PIXMAPWRITERFORMATS_H

// Private to the framebuffer writers: the device word of one back buffer
// pixel in each format, shared by the vector loops (PixmapWriterKernels.h)
// and the turned writer (FrameWriterRotated.cpp). Internal linkage, like the
// loops, so that no copy compiled for NEON stands in for a portable one.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "graphics/Pixmap.h"

namespace OKU {

enum class WriterFormat { RGB32, BGR16, RGB15 };

/// Converts count pixels into count words of the format at dst, with the
/// fastest loop the processor has (PixmapWriters.cpp).
void convertPixels(WriterFormat format, void* dst, const Pixmap::Pixel* src, size_t count);

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
    static constexpr WriterFormat format = WriterFormat::RGB32;
    static uint32_t convert(uint32_t p) { return p & 0x00FFFFFF; }
};

/// 5-6-5, red in the top bits.
struct ToBGR16 {
    typedef uint16_t Word;
    static constexpr WriterFormat format = WriterFormat::BGR16;
    static uint32_t convert(uint32_t p)
    {
        return ((p >> 8) & 0xF800) | ((p >> 5) & 0x07E0) | ((p >> 3) & 0x001F);
    }
};

/// 5-5-5, red in the low bits, bit 15 clear.
struct ToRGB15 {
    typedef uint16_t Word;
    static constexpr WriterFormat format = WriterFormat::RGB15;
    static uint32_t convert(uint32_t p)
    {
        return ((p << 7) & 0x7C00) | ((p >> 6) & 0x03E0) | ((p >> 19) & 0x001F);
    }
};

} // namespace

} // namespace OKU

#endif
