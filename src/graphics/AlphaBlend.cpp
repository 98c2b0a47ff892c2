// Source pixels with alpha over a pixmap without alpha.
//
// The rule (a * s + (255 - a) * d) >> 8 holds for 0 < a < 255 only: a = 0
// must leave the pixel and a = 255 must copy the source. Weighting source
// and destination by (ws, wd) = (a, 255 - a) in between and by (0, 256) and
// (256, 0) at the two ends gives all three through the one formula
// (ws * s + wd * d) >> 8, every sum below 65536, so a vector unit blends
// 16-bit lanes without a branch per pixel. The alpha byte, which the
// formula would mix too, is taken from the destination, or is 255 where the
// source is opaque.
//
// With SSE2 a row goes four pixels at a time, or eight where the processor
// has AVX2; a group that is wholly opaque is copied and one wholly
// transparent skipped, which is most of an image's area. On ARM the NEON unit (AlphaBlendNeon.cpp) runs where the processor
// has NEON; elsewhere the pixels go singly.

#include "graphics/AlphaBlend.h"

#include "graphics/CpuFeatures.h"
#include "graphics/PixelBlend.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#if defined(__GNUC__)
#include <immintrin.h>
#define OKU_ALPHA_AVX2 __attribute__((target("avx2")))
#endif
#endif

namespace OKU {

namespace {

typedef Pixmap::Pixel Pixel;

#if defined(__SSE2__)

// Two pixels, their channels widened to 16-bit lanes.
__m128i blendTwo(__m128i s, __m128i d)
{
    const __m128i all255 = _mm_set1_epi16(255);
    // Each pixel's alpha in all four of its lanes.
    const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF);
    const __m128i ws = _mm_sub_epi16(a, _mm_cmpeq_epi16(a, all255));
    const __m128i wd =
        _mm_sub_epi16(_mm_sub_epi16(all255, a), _mm_cmpeq_epi16(a, _mm_setzero_si128()));
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(ws, s), _mm_mullo_epi16(wd, d)), 8);
}

void blendFour(Pixel* dst, const Pixel* src)
{
    const __m128i alphaBytes = _mm_set1_epi32(static_cast<int>(0xFF000000));
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i sourceAlpha = _mm_and_si128(s, alphaBytes);
    const __m128i opaque = _mm_cmpeq_epi32(sourceAlpha, alphaBytes);
    if (_mm_movemask_epi8(opaque) == 0xFFFF) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), s);
        return;
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(sourceAlpha, _mm_setzero_si128())) == 0xFFFF)
        return;
    const __m128i zero = _mm_setzero_si128();
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
    const __m128i mixed =
        _mm_packus_epi16(blendTwo(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero)),
                         blendTwo(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero)));
    const __m128i keptAlpha = _mm_and_si128(_mm_or_si128(d, opaque), alphaBytes);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst),
                     _mm_or_si128(_mm_andnot_si128(alphaBytes, mixed), keptAlpha));
}

#endif

#if defined(OKU_ALPHA_AVX2)

// blendTwo and blendFour on the two 128-bit halves of AVX2 registers at once.
OKU_ALPHA_AVX2 __m256i blendFourWide(__m256i s, __m256i d)
{
    const __m256i all255 = _mm256_set1_epi16(255);
    const __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(s, 0xFF), 0xFF);
    const __m256i ws = _mm256_sub_epi16(a, _mm256_cmpeq_epi16(a, all255));
    const __m256i wd = _mm256_sub_epi16(_mm256_sub_epi16(all255, a),
                                        _mm256_cmpeq_epi16(a, _mm256_setzero_si256()));
    return _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(ws, s), _mm256_mullo_epi16(wd, d)), 8);
}

OKU_ALPHA_AVX2 void blendEight(Pixel* dst, const Pixel* src)
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

// Compiled for AVX2 as a whole, so that everything it calls is inlined.
__attribute__((target("avx2"), flatten)) void blendRowAvx2(Pixel* dst, const Pixel* src,
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

#endif

} // namespace

void blendOverOpaqueRow(Pixel* dst, const Pixel* src, int count)
{
#if defined(__arm__) || defined(__aarch64__)
    if (neonEnabled()) {
        blendOverOpaqueRowNeon(dst, src, count);
        return;
    }
#endif
#if defined(OKU_ALPHA_AVX2)
    if (avx2Enabled()) {
        blendRowAvx2(dst, src, count);
        return;
    }
#endif
    int i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= count; i += 4)
        blendFour(dst + i, src + i);
#endif
    for (; i < count; ++i)
        blendOverOpaque(dst[i], src[i]);
}

} // namespace OKU
