// Source pixels with alpha over a pixmap without alpha, eight at a time with
// AVX2: the SSE2 group blend (detail/AlphaBlendSse2.h) on the two 128-bit
// halves of AVX2 registers at once. The last four to seven pixels go as the
// SSE2 loop takes them.

#include "graphics/detail/PixelLoops.h"

#if defined(OKU_X86_PIXEL_LOOPS)

#include <immintrin.h>

#include "graphics/PixelBlend.h"
#include "graphics/detail/AlphaBlendSse2.h"

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

namespace {

typedef Pixmap::Pixel Pixel;

OKU_AVX2 __m256i blendFourWide(__m256i s, __m256i d)
{
    const __m256i all255 = _mm256_set1_epi16(255);
    const __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(s, 0xFF), 0xFF);
    const __m256i ws = _mm256_sub_epi16(a, _mm256_cmpeq_epi16(a, all255));
    const __m256i wd = _mm256_sub_epi16(_mm256_sub_epi16(all255, a),
                                        _mm256_cmpeq_epi16(a, _mm256_setzero_si256()));
    return _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(ws, s), _mm256_mullo_epi16(wd, d)), 8);
}

OKU_AVX2 void blendEight(Pixel* dst, const Pixel* src)
{
    const __m256i alphaBytes = _mm256_set1_epi32(static_cast<int>(0xFF000000));
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src));
    const __m256i sourceAlpha = _mm256_and_si256(s, alphaBytes);
    const __m256i opaque = _mm256_cmpeq_epi32(sourceAlpha, alphaBytes);
    if (_mm256_movemask_epi8(opaque) == -1) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), s);
        return;
    }
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(sourceAlpha, _mm256_setzero_si256())) == -1)
        return;
    const __m256i zero = _mm256_setzero_si256();
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst));
    const __m256i mixed = _mm256_packus_epi16(
        blendFourWide(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero)),
        blendFourWide(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero)));
    const __m256i keptAlpha = _mm256_and_si256(_mm256_or_si256(d, opaque), alphaBytes);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst),
                        _mm256_or_si256(_mm256_andnot_si256(alphaBytes, mixed), keptAlpha));
}

} // namespace

// Compiled for AVX2 as a whole, so that everything it calls is inlined.
OKU_AVX2 __attribute__((flatten)) void blendOverOpaqueRowAvx2(Pixel* dst, const Pixel* src,
                                                               int count)
{
    int i = 0;
    for (; i + 8 <= count; i += 8)
        blendEight(dst + i, src + i);
    for (; i + 4 <= count; i += 4)
        blendFour(dst + i, src + i);
    for (; i < count; ++i)
        blendOverOpaque(dst[i], src[i]);
}

} // namespace detail
} // namespace OKU

#endif
