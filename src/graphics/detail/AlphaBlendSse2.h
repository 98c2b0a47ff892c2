#ifndef OKU_GRAPHICS_DETAIL_ALPHABLENDSSE2_H
#define OKU_GRAPHICS_DETAIL_ALPHABLENDSSE2_H

// Private to the alpha blend: four source pixels with alpha over a pixmap
// without alpha with SSE2, for the SSE2 and AVX2 loops (AlphaBlendSse2.cpp,
// AlphaBlendAvx2.cpp). Internal linkage, so that the copy inlined into an
// AVX2 loop never stands in for the one other processors run.
//
// The rule (a * s + (255 - a) * d) >> 8 holds for 0 < a < 255 only: a = 0
// must leave the pixel and a = 255 must copy the source. Weighting source
// and destination by (ws, wd) = (a, 255 - a) in between and by (0, 256) and
// (256, 0) at the two ends gives all three through the one formula
// (ws * s + wd * d) >> 8, every sum below 65536, so a vector unit blends
// 16-bit lanes without a branch per pixel. The alpha byte, which the
// formula would mix too, is taken from the destination, or is 255 where the
// source is opaque. A group that is wholly opaque is copied and one wholly
// transparent skipped, which is most of an image's area.

#include <emmintrin.h>

#include "graphics/Pixmap.h"

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

namespace {

// Two pixels, their channels widened to 16-bit lanes.
inline __m128i blendTwo(__m128i s, __m128i d)
{
    const __m128i all255 = _mm_set1_epi16(255);
    // Each pixel's alpha in all four of its lanes.
    const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF);
    const __m128i ws = _mm_sub_epi16(a, _mm_cmpeq_epi16(a, all255));
    const __m128i wd =
        _mm_sub_epi16(_mm_sub_epi16(all255, a), _mm_cmpeq_epi16(a, _mm_setzero_si128()));
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(ws, s), _mm_mullo_epi16(wd, d)), 8);
}

inline void blendFour(Pixmap::Pixel* dst, const Pixmap::Pixel* src)
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

} // namespace

} // namespace detail
} // namespace OKU

#endif
