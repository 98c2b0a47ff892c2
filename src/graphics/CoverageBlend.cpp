// Glyph coverage in one colour. Opaque destinations, those of all text on
// screen, take the fast path below; the others go pixel by pixel.
//
// The colour blend (a * s + (255 - a) * d) >> 8 of a pixmap without alpha
// holds for 0 < a < 255 only: a = 0 must leave the pixel and a = 255 must
// give the colour. Weighting colour and pixel by (wc, wd) = (a, 255 - a) in
// between and by (0, 256) and (256, 0) at the two ends gives all three cases
// through the one formula (wc * s + wd * d) >> 8, so no pixel takes a branch.
// As wc + wd <= 256, every sum stays below 65536: two channels share a 32-bit
// word, eight a 128-bit register.
//
// With SSE2 or NEON a row goes eight pixels at a time, then four, then the
// remaining one to three singly; without them every pixel singly. On x86 the
// groups of eight take one AVX2 step where the processor has it; on ARM the
// NEON unit (CoverageBlendNeon.cpp) runs where the processor has NEON.

#include "graphics/CoverageBlend.h"

#include <cstdint>
#include <cstring>

#include "graphics/CoverageBlendRows.h"
#include "graphics/CpuFeatures.h"
#include "graphics/PixelBlend.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#define OKU_COVERAGE_SSE2
#if defined(__GNUC__)
#include <immintrin.h>
#define OKU_COVERAGE_AVX2
#endif
#endif

namespace OKU {

namespace {

#if defined(OKU_COVERAGE_SSE2)

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

#endif


#if defined(OKU_COVERAGE_AVX2)

#define OKU_AVX2 __attribute__((target("avx2")))

// On processors with AVX2, eight pixels at a time in 256-bit registers: each
// 128-bit half does what GroupBlend does with four.
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

#endif


#if defined(OKU_COVERAGE_AVX2)
// Compiled for AVX2 as a whole, so that everything it calls is inlined.
__attribute__((target("avx2"), flatten)) void blendRowsAvx2(const CoverageBlock& block,
                                                             const Ink& ink)
{
    blendRows<GroupBlendAvx2>(block, ink);
}
#endif

// Into a pixmap without alpha, in a colour with every channel in 0..255.
void blendOpaque(const CoverageBlock& block, const Color& c, bool wholeGlyph)
{
#if defined(__arm__) || defined(__aarch64__)
    if (neonEnabled()) {
        blendOpaqueNeon(block, c, wholeGlyph);
        return;
    }
#endif
    const Ink ink(c, wholeGlyph);
#if defined(OKU_COVERAGE_AVX2)
    if (avx2Enabled()) {
        blendRowsAvx2(block, ink);
        return;
    }
#endif
#if defined(OKU_COVERAGE_SSE2)
    blendRows<GroupBlend>(block, ink);
#else
    const PixelBlend single(ink);
    forEachRow(block, [&single, &block](Pixmap::Pixel* pixels, const unsigned char* coverage) {
        for (int x = 0; x < block.width; ++x) {
            if (coverage[x] != 0)
                single.blend(pixels[x], coverage[x]);
        }
    });
#endif
}

// The rules of PixelBlend.h one pixel at a time, for a destination with
// alpha and for colours whose channels leave 0..255.
template <class Blend>
void blendEachPixel(const CoverageBlock& block, const Color& c, bool wholeGlyph, Blend blend)
{
    // Copies, which the byte stores below could otherwise alias.
    const int red = c.red;
    const int green = c.green;
    const int blue = c.blue;
    const int alpha = c.alpha;
    const int width = block.width;
    forEachRow(block, [=, &blend](Pixmap::Pixel* pixels, const unsigned char* coverage) {
        for (int x = 0; x < width; ++x) {
            const int v = coverage[x];
            if (!wholeGlyph)
                blend(pixels[x], red, green, blue, alpha * v / 256);
            else if (v != 0)
                blend(pixels[x], red, green, blue, v == 255 ? alpha : alpha * v / 256);
        }
    });
}

bool inChannelRange(const Color& c)
{
    const auto inRange = [](int channel) { return channel >= 0 && channel <= 255; };
    return inRange(c.red) && inRange(c.green) && inRange(c.blue) && inRange(c.alpha);
}

} // namespace

void blendCoverage(const CoverageBlock& block, const Color& c, bool wholeGlyph, bool destAlpha)
{
    if (destAlpha) {
        blendEachPixel(block, c, wholeGlyph, [](Pixmap::Pixel& d, int r, int g, int b, int a) {
            blendOverAlpha(d, r, g, b, a);
        });
    } else if (!inChannelRange(c)) {
        blendEachPixel(block, c, wholeGlyph, [](Pixmap::Pixel& d, int r, int g, int b, int a) {
            blendOverOpaque(d, r, g, b, a);
        });
    } else {
        blendOpaque(block, c, wholeGlyph);
    }
}

} // namespace OKU
