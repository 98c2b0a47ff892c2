#include "graphics/Pixmap.h"

#include <cstring>

namespace OKU {

namespace {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the writers read a pixel as the little-endian word 0xAARRGGBB");

// Pixels converted per step of the vector loops: a constant count lets the
// compiler replace them by vector code without scalar epilogues of their own.
const int c_block = 16;

inline uint32_t pixelWord(const Pixmap::Pixel* p)
{
    uint32_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// The top byte (alpha) is dropped.
struct ToRGB32 {
    typedef uint32_t Word;
    static uint32_t convert(uint32_t p) { return p & 0x00FFFFFF; }
};

// 5-6-5, red in the top bits.
struct ToBGR16 {
    typedef uint16_t Word;
    static uint32_t convert(uint32_t p)
    {
        return ((p >> 8) & 0xF800) | ((p >> 5) & 0x07E0) | ((p >> 3) & 0x001F);
    }
};

// 5-5-5, red in the low bits, bit 15 clear.
struct ToRGB15 {
    typedef uint16_t Word;
    static uint32_t convert(uint32_t p)
    {
        return ((p << 7) & 0x7C00) | ((p >> 6) & 0x03E0) | ((p >> 19) & 0x001F);
    }
};

// Converts c_block pixels. A 16-bit format stores two pixels per 32-bit
// word, so that the vector code keeps 32-bit lanes throughout instead of
// narrowing them, which the vector units do slowly.
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

template <class Format>
void convertRun(typename Format::Word* dst, const Pixmap::Pixel* src, size_t count)
{
    size_t i = 0;
    for (; i + c_block <= count; i += c_block)
        convertBlock<Format>(dst + i, src + i);
    for (; i < count; ++i)
        dst[i] = static_cast<typename Format::Word>(Format::convert(pixelWord(src + i)));
}

// Converts r (cut to the image) into dst, which is laid out like the image.
template <class Format>
void convertRect(const Pixmap& image, void* dst, const Rect& r)
{
    const int width = image.getWidth();
    const Rect area = r.intersection(Rect(0, 0, width, image.getHeight()));
    if (area.isEmpty())
        return;
    typename Format::Word* out = static_cast<typename Format::Word*>(dst);
    // Whole rows are contiguous in both buffers: one run covers them all.
    if (area.width == width) {
        const size_t start = static_cast<size_t>(area.y) * width;
        convertRun<Format>(out + start, image.getRow(area.y),
                           static_cast<size_t>(area.height) * width);
        return;
    }
    for (int y = area.y; y < area.bottom(); ++y) {
        const size_t start = static_cast<size_t>(y) * width + area.x;
        convertRun<Format>(out + start, image.getRow(y) + area.x, area.width);
    }
}

} // namespace

void Pixmap::writeRGB32(void* dst, const Rect& r) const
{
    convertRect<ToRGB32>(*this, dst, r);
}

void Pixmap::writeBGR16(void* dst, const Rect& r) const
{
    convertRect<ToBGR16>(*this, dst, r);
}

void Pixmap::writeRGB15(void* dst, const Rect& r) const
{
    convertRect<ToRGB15>(*this, dst, r);
}

void Pixmap::writeRGB32(void* dst) const
{
    writeRGB32(dst, Rect(0, 0, m_width, m_height));
}

void Pixmap::writeBGR16(void* dst) const
{
    writeBGR16(dst, Rect(0, 0, m_width, m_height));
}

void Pixmap::writeRGB15(void* dst) const
{
    writeRGB15(dst, Rect(0, 0, m_width, m_height));
}

} // namespace OKU
