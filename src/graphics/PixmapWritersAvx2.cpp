// 5-6-5, the common device format, sixteen pixels per step with AVX2; the
// other formats keep the SSE2 loops (PixmapWritersSse2.cpp).

#include "graphics/detail/PixelLoops.h"

#if defined(OKU_X86_PIXEL_LOOPS)

#include <immintrin.h>

#include "graphics/detail/PixmapWriterKernels.h"

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

namespace {

// 5-6-5 for eight pixels, each shifted left by 5 in its 32-bit lane. One
// multiply-add moves the masked red and blue, the two 16-bit halves of the
// lane, into place: (red & 0xF8) << 13 | (blue & 0xF8) << 2; green & 0xFC
// is already at bit 10.
OKU_AVX2 inline __m256i shiftedBGR16(__m256i pixels)
{
    const __m256i redBlue = _mm256_and_si256(pixels, _mm256_set1_epi32(0x00F800F8));
    const __m256i moved = _mm256_madd_epi16(redBlue, _mm256_set1_epi32(0x20000004));
    const __m256i green = _mm256_and_si256(pixels, _mm256_set1_epi32(0x0000FC00));
    return _mm256_or_si256(moved, green);
}

} // namespace

// The pack works on each 128-bit half alone, giving the words in the order
// 0-3 8-11 4-7 12-15, which one permutation of 64-bit quarters sets right.
OKU_AVX2 __attribute__((flatten)) void convertRunBGR16Avx2(void* dst, const Pixmap::Pixel* src,
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

} // namespace detail
} // namespace OKU

#endif
