// Glyph coverage into a pixmap without alpha with AVX2: the groups of eight
// pixels in 256-bit registers, each 128-bit half doing what the SSE2 group
// blend (detail/CoverageBlendSse2.h) does with four, which also takes the
// groups of four.

#include "graphics/detail/PixelLoops.h"

#if defined(OKU_X86_PIXEL_LOOPS)

#include <immintrin.h>

#include "graphics/detail/CoverageBlendSse2.h"

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

namespace {

class GroupBlendAvx2 {
public:
    OKU_AVX2 explicit GroupBlendAvx2(const Ink& ink)
        : m_four(ink),
          m_colour(_mm256_cvtepu8_epi16(_mm_set1_epi32(static_cast<int>(ink.colour)))),
          m_alphaBytes(_mm256_set1_epi32(static_cast<int>(toWord(c_alphaOnly))))
    {
    }

    OKU_AVX2 void blendFour(Pixmap::Pixel* dst, uint32_t coverage) const
    {
        m_four.blendFour(dst, coverage);
    }

    OKU_AVX2 void blendEight(Pixmap::Pixel* dst, const unsigned char* coverage) const
    {
        __m128i wc, wd;
        m_four.weights(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(coverage)), wc, wd);
        // Weights of pixels 0 to 3 in the low half, 4 to 7 in the high half,
        // each twice in a 32-bit lane; then each over the four channels.
        const __m256i wc2 = pairs(wc);
        const __m256i wd2 = pairs(wd);
        const __m256i zero = _mm256_setzero_si256();
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst));
        const __m256i lo = mix(_mm256_unpacklo_epi32(wc2, wc2), _mm256_unpacklo_epi32(wd2, wd2),
                               _mm256_unpacklo_epi8(d, zero));
        const __m256i hi = mix(_mm256_unpackhi_epi32(wc2, wc2), _mm256_unpackhi_epi32(wd2, wd2),
                               _mm256_unpackhi_epi8(d, zero));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst),
                            _mm256_or_si256(_mm256_packus_epi16(lo, hi), m_alphaBytes));
    }

private:
    OKU_AVX2 static __m256i pairs(__m128i w)
    {
        const __m256i halves = _mm256_permute4x64_epi64(_mm256_castsi128_si256(w), 0x50);
        return _mm256_unpacklo_epi16(halves, halves);
    }

    OKU_AVX2 __m256i mix(__m256i wc, __m256i wd, __m256i d) const
    {
        return _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(wc, m_colour), _mm256_mullo_epi16(wd, d)), 8);
    }

    GroupBlend m_four;
    __m256i m_colour;
    __m256i m_alphaBytes;
};

} // namespace

// Compiled for AVX2 as a whole, so that everything it calls is inlined.
OKU_AVX2 __attribute__((flatten)) void blendCoverageOpaqueAvx2(const CoverageBlock& block,
                                                               const Color& c, bool wholeGlyph)
{
    blendRows<GroupBlendAvx2>(block, Ink(c, wholeGlyph));
}

} // namespace detail
} // namespace OKU

#endif
