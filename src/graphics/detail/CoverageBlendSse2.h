#ifndef OKU_GRAPHICS_DETAIL_COVERAGEBLENDSSE2_H
#define OKU_GRAPHICS_DETAIL_COVERAGEBLENDSSE2_H

// Private to the coverage blend: four and eight pixels at a time with SSE2,
// for the SSE2 and AVX2 loops (CoverageBlendSse2.cpp, CoverageBlendAvx2.cpp).
// Internal linkage, like the rows it blends (CoverageBlendRows.h).

#include <cstdint>
#include <cstring>
#include <emmintrin.h>

#include "graphics/detail/CoverageBlendRows.h"

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

namespace {

// Four pixels at a time, their channels widened to 16 bits, two pixels to a
// register.
class GroupBlend {
public:
    explicit GroupBlend(const Ink& ink)
        : m_colour(_mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(ink.colour)),
                                     _mm_setzero_si128())),
          m_alpha(_mm_set1_epi16(static_cast<short>(ink.alpha))),
          m_fullBoost(_mm_set1_epi16(ink.wholeGlyph ? -1 : 0)),
          m_alphaBytes(_mm_set1_epi32(static_cast<int>(toWord(c_alphaOnly))))
    {
    }

    // coverage holds the four coverage bytes, the leftmost in the lowest.
    void blendFour(Pixmap::Pixel* dst, uint32_t coverage) const
    {
        __m128i wc, wd;
        weights(_mm_cvtsi32_si128(static_cast<int>(coverage)), wc, wd);
        mixFour(dst, _mm_unpacklo_epi16(wc, wc), _mm_unpacklo_epi16(wd, wd));
    }

    void blendEight(Pixmap::Pixel* dst, const unsigned char* coverage) const
    {
        uint32_t four[2];
        memcpy(four, coverage, sizeof four);
        blendFour(dst, four[0]);
        blendFour(dst + 4, four[1]);
    }

    // The weights of up to eight coverage bytes, one 16-bit lane each.
    void weights(__m128i bytes, __m128i& wc, __m128i& wd) const
    {
        const __m128i zero = _mm_setzero_si128();
        const __m128i all255 = _mm_set1_epi16(255);
        __m128i v = _mm_unpacklo_epi8(bytes, zero);
        v = _mm_sub_epi16(v, _mm_and_si128(_mm_cmpeq_epi16(v, all255), m_fullBoost));
        const __m128i a = _mm_srli_epi16(_mm_mullo_epi16(v, m_alpha), 8);
        wc = _mm_sub_epi16(a, _mm_cmpeq_epi16(a, all255));
        wd = _mm_sub_epi16(_mm_sub_epi16(all255, a), _mm_cmpeq_epi16(a, zero));
    }

    // Four pixels; wc2 and wd2 hold each pixel's weight in both halves of a
    // 32-bit lane.
    void mixFour(Pixmap::Pixel* dst, __m128i wc2, __m128i wd2) const
    {
        const __m128i zero = _mm_setzero_si128();
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
        const __m128i lo = mix(_mm_unpacklo_epi32(wc2, wc2), _mm_unpacklo_epi32(wd2, wd2),
                               _mm_unpacklo_epi8(d, zero));
        const __m128i hi = mix(_mm_unpackhi_epi32(wc2, wc2), _mm_unpackhi_epi32(wd2, wd2),
                               _mm_unpackhi_epi8(d, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst),
                         _mm_or_si128(_mm_packus_epi16(lo, hi), m_alphaBytes));
    }

private:
    __m128i mix(__m128i wc, __m128i wd, __m128i d) const
    {
        return _mm_srli_epi16(
            _mm_add_epi16(_mm_mullo_epi16(wc, m_colour), _mm_mullo_epi16(wd, d)), 8);
    }

    __m128i m_colour;
    __m128i m_alpha;
    __m128i m_fullBoost;
    __m128i m_alphaBytes;
};

} // namespace

} // namespace detail
} // namespace OKU

#endif
