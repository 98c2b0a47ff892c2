#include "graphics/Pixmap.h"

#include "graphics/CpuFeatures.h"
#include "graphics/PixmapWriterKernels.h"

#if defined(__SSE2__) && defined(__GNUC__)
#include <immintrin.h>
#define OKU_WRITERS_AVX2
#endif

namespace OKU {

namespace {

#if defined(OKU_WRITERS_AVX2)

// 5-6-5 for eight pixels, each shifted left by 5 in its 32-bit lane. One
// multiply-add moves the masked red and blue, the two 16-bit halves of the
// lane, into place: (red & 0xF8) << 13 | (blue & 0xF8) << 2; green & 0xFC
// is already at bit 10.
__attribute__((target("avx2"))) inline __m256i shiftedBGR16(__m256i pixels)
{
    const __m256i redBlue = _mm256_and_si256(pixels, _mm256_set1_epi32(0x00F800F8));
    const __m256i moved = _mm256_madd_epi16(redBlue, _mm256_set1_epi32(0x20000004));
    const __m256i green = _mm256_and_si256(pixels, _mm256_set1_epi32(0x0000FC00));
    return _mm256_or_si256(moved, green);
}

// Sixteen pixels per step where the processor has AVX2. The pack works on
// each 128-bit half alone, giving the words in the order 0-3 8-11 4-7
// 12-15, which one permutation of 64-bit quarters sets right.
__attribute__((target("avx2"), flatten)) void convertRunBGR16Avx2(void* dst,
                                                                   const Pixmap::Pixel* src,
                                                                   size_t count)
{
    uint16_t* out = static_cast<uint16_t*>(dst);
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i + 8));
        const __m256i words = _mm256_packus_epi32(_mm256_srli_epi32(shiftedBGR16(low), 5),
                                                  _mm256_srli_epi32(shiftedBGR16(high), 5));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm256_permute4x64_epi64(words, 0xD8));
    }
    for (; i < count; ++i)
        out[i] = static_cast<uint16_t>(ToBGR16::convert(pixelWord(src + i)));
}

#endif

// The fastest loop for runs of the format that this processor has.
template <class Format>
RunConverter chooseRunConverter()
{
#if defined(__arm__) || defined(__aarch64__)
    if (neonEnabled())
        return [](void* dst, const Pixmap::Pixel* src, size_t count) {
            convertRunNeon(Format::format, dst, src, count);
        };
#endif
#if defined(OKU_WRITERS_AVX2)
    if constexpr (Format::format == WriterFormat::BGR16)
        if (avx2Enabled())
            return convertRunBGR16Avx2;
#endif
    return convertRunOf<Format>;
}

template <class Format>
RunConverter runConverter()
{
    static const RunConverter chosen = chooseRunConverter<Format>();
    return chosen;
}

template <class Format>
void write(const Pixmap& image, void* dst, const Rect& r)
{
    convertRect<Format>(image, dst, r, runConverter<Format>());
}

} // namespace

void convertPixels(WriterFormat format, void* dst, const Pixmap::Pixel* src, size_t count)
{
    switch (format) {
    case WriterFormat::RGB32:
        runConverter<ToRGB32>()(dst, src, count);
        break;
    case WriterFormat::BGR16:
        runConverter<ToBGR16>()(dst, src, count);
        break;
    case WriterFormat::RGB15:
        runConverter<ToRGB15>()(dst, src, count);
        break;
    }
}

void Pixmap::writeRGB32(void* dst, const Rect& r) const
{
    write<ToRGB32>(*this, dst, r);
}

void Pixmap::writeBGR16(void* dst, const Rect& r) const
{
    write<ToBGR16>(*this, dst, r);
}

void Pixmap::writeRGB15(void* dst, const Rect& r) const
{
    write<ToRGB15>(*this, dst, r);
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
