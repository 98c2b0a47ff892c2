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
// groups of eight take one AVX2 step where the processor has it.

#include "graphics/CoverageBlend.h"

#include <cstdint>
#include <cstring>

#include "graphics/PixelBlend.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#define OKU_COVERAGE_SSE2
#if defined(__GNUC__)
#include <immintrin.h>
#define OKU_COVERAGE_AVX2
#endif
#elif defined(__ARM_NEON) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
#include <arm_neon.h>
#define OKU_COVERAGE_NEON
#endif

namespace OKU {

namespace {

uint32_t toWord(const Pixmap::Pixel& p)
{
    uint32_t w;
    memcpy(&w, &p, sizeof w);
    return w;
}

void storeWord(Pixmap::Pixel* p, uint32_t word)
{
    memcpy(p, &word, sizeof word);
}

const Pixmap::Pixel c_alphaOnly{0, 0, 0, 255};

// The drawing colour as the blends take it, worked out once per glyph.
struct Ink {
    Ink(const Color& c, bool wholeGlyph)
        : colour(toWord(Pixmap::Pixel{static_cast<uint8_t>(c.blue), static_cast<uint8_t>(c.green),
                                      static_cast<uint8_t>(c.red), 255})),
          alpha(c.alpha), wholeGlyph(wholeGlyph)
    {
    }

    // Opaque, as a pixel word.
    uint32_t colour;
    int alpha;
    bool wholeGlyph;
};

// One pixel at a time: the channel pairs (bytes 0 and 2, bytes 1 and 3) in
// the 16-bit halves of a word, independent of the byte order.
class PixelBlend {
public:
    explicit PixelBlend(const Ink& ink)
        : m_alpha(ink.alpha), m_fullBoost(ink.wholeGlyph ? 1 : 0),
          m_colourEven(ink.colour & c_evenBytes), m_colourOdd((ink.colour >> 8) & c_evenBytes)
    {
    }

    void blend(Pixmap::Pixel& d, int v) const
    {
        // A whole glyph's full coverage counts as 256.
        const uint32_t a = (m_alpha * (v + (v == 255 ? m_fullBoost : 0))) >> 8;
        const uint32_t wc = a + (a == 255);
        const uint32_t wd = 255 - a + (a == 0);
        const uint32_t p = toWord(d);
        const uint32_t even = (((p & c_evenBytes) * wd + m_colourEven * wc) >> 8) & c_evenBytes;
        const uint32_t odd = (((p >> 8) & c_evenBytes) * wd + m_colourOdd * wc) & ~c_evenBytes;
        storeWord(&d, even | odd | toWord(c_alphaOnly));
    }

private:
    static const uint32_t c_evenBytes = 0x00FF00FF;

    int m_alpha;
    int m_fullBoost;
    uint32_t m_colourEven;
    uint32_t m_colourOdd;
};

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

#elif defined(OKU_COVERAGE_NEON)

// Eight pixels at a time are split into one register per channel; four are
// widened to 16 bits, two pixels to a register.
class GroupBlend {
public:
    explicit GroupBlend(const Ink& ink)
        : m_colour(vmovl_u8(vreinterpret_u8_u32(vdup_n_u32(ink.colour)))),
          m_blue(vdupq_n_u16(static_cast<uint16_t>(ink.colour & 0xFF))),
          m_green(vdupq_n_u16(static_cast<uint16_t>(ink.colour >> 8 & 0xFF))),
          m_red(vdupq_n_u16(static_cast<uint16_t>(ink.colour >> 16 & 0xFF))),
          m_alpha(vdupq_n_u16(static_cast<uint16_t>(ink.alpha))),
          m_fullBoost(vdupq_n_u16(ink.wholeGlyph ? 0xFFFF : 0)),
          m_alphaBytes(vreinterpretq_u8_u32(vdupq_n_u32(toWord(c_alphaOnly))))
    {
    }

    // coverage holds the four coverage bytes, the leftmost in the lowest.
    void blendFour(Pixmap::Pixel* dst, uint32_t coverage) const
    {
        uint16x8_t wc, wd;
        weights(vreinterpret_u8_u32(vdup_n_u32(coverage)), wc, wd);
        // w0 w0 w1 w1 | w2 w2 w3 w3, then each weight over the four channels.
        const uint16x4x2_t wc2 = vzip_u16(vget_low_u16(wc), vget_low_u16(wc));
        const uint16x4x2_t wd2 = vzip_u16(vget_low_u16(wd), vget_low_u16(wd));
        uint8_t* bytes = reinterpret_cast<uint8_t*>(dst);
        const uint8x16_t d = vld1q_u8(bytes);
        const uint8x8_t lo = mix(spread(wc2.val[0]), spread(wd2.val[0]), vget_low_u8(d), m_colour);
        const uint8x8_t hi =
            mix(spread(wc2.val[1]), spread(wd2.val[1]), vget_high_u8(d), m_colour);
        vst1q_u8(bytes, vorrq_u8(vcombine_u8(lo, hi), m_alphaBytes));
    }

    void blendEight(Pixmap::Pixel* dst, const unsigned char* coverage) const
    {
        uint16x8_t wc, wd;
        weights(vld1_u8(coverage), wc, wd);
        uint8_t* bytes = reinterpret_cast<uint8_t*>(dst);
        uint8x8x4_t p = vld4_u8(bytes);
        p.val[0] = mix(wc, wd, p.val[0], m_blue);
        p.val[1] = mix(wc, wd, p.val[1], m_green);
        p.val[2] = mix(wc, wd, p.val[2], m_red);
        p.val[3] = vdup_n_u8(255);
        vst4_u8(bytes, p);
    }

private:
    // (w0 w0 w1 w1) to (w0 w0 w0 w0 w1 w1 w1 w1).
    static uint16x8_t spread(uint16x4_t pairs)
    {
        const uint16x4x2_t z = vzip_u16(pairs, pairs);
        return vcombine_u16(z.val[0], z.val[1]);
    }

    static uint8x8_t mix(uint16x8_t wc, uint16x8_t wd, uint8x8_t d, uint16x8_t colour)
    {
        return vshrn_n_u16(vmlaq_u16(vmulq_u16(wc, colour), wd, vmovl_u8(d)), 8);
    }

    // The weights of up to eight coverage bytes, one 16-bit lane each.
    void weights(uint8x8_t bytes, uint16x8_t& wc, uint16x8_t& wd) const
    {
        const uint16x8_t all255 = vdupq_n_u16(255);
        uint16x8_t v = vmovl_u8(bytes);
        v = vsubq_u16(v, vandq_u16(vceqq_u16(v, all255), m_fullBoost));
        const uint16x8_t a = vshrq_n_u16(vmulq_u16(v, m_alpha), 8);
        wc = vsubq_u16(a, vceqq_u16(a, all255));
        wd = vsubq_u16(vsubq_u16(all255, a), vceqq_u16(a, vdupq_n_u16(0)));
    }

    uint16x8_t m_colour;
    uint16x8_t m_blue;
    uint16x8_t m_green;
    uint16x8_t m_red;
    uint16x8_t m_alpha;
    uint16x8_t m_fullBoost;
    uint8x16_t m_alphaBytes;
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

// Calls blendRow(pixels, coverage) for every row of the block.
template <class BlendRow>
void forEachRow(const CoverageBlock& block, BlendRow blendRow)
{
    Pixmap::Pixel* pixels = block.pixels;
    const unsigned char* coverage = block.coverage;
    for (int y = 0; y < block.height;
         ++y, pixels += block.pixelStride, coverage += block.coverageStride)
        blendRow(pixels, coverage);
}

#if defined(OKU_COVERAGE_SSE2) || defined(OKU_COVERAGE_NEON)

// One row of a glyph: eight pixels at a time, then four, and the remaining
// one to three singly. Coverage 0 leaves a pixel alone, so a group or pixel
// without any is skipped. All rows of a glyph have the same width, so the
// split is worked out once.
template <class Groups>
class RowBlend {
public:
    RowBlend(const Ink& ink, int width)
        : m_single(ink), m_groups(ink), m_grouped(width & ~3), m_width(width)
    {
    }

    void blend(Pixmap::Pixel* dst, const unsigned char* coverage) const
    {
        int x = 0;
        for (; x + 8 <= m_grouped; x += 8) {
            uint64_t eight;
            memcpy(&eight, coverage + x, sizeof eight);
            if (eight != 0)
                m_groups.blendEight(dst + x, coverage + x);
        }
        if (x < m_grouped) {
            uint32_t four;
            memcpy(&four, coverage + x, sizeof four);
            if (four != 0)
                m_groups.blendFour(dst + x, four);
            x += 4;
        }
        for (; x < m_width; ++x) {
            if (coverage[x] != 0)
                m_single.blend(dst[x], coverage[x]);
        }
    }

private:
    PixelBlend m_single;
    Groups m_groups;
    int m_grouped;
    int m_width;
};

template <class Groups>
void blendRows(const CoverageBlock& block, const Ink& ink)
{
    const RowBlend<Groups> row(ink, block.width);
    forEachRow(block, [&row](Pixmap::Pixel* pixels, const unsigned char* coverage) {
        row.blend(pixels, coverage);
    });
}

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
void blendOpaque(const CoverageBlock& block, const Ink& ink)
{
#if defined(OKU_COVERAGE_AVX2)
    static const bool hasAvx2 = __builtin_cpu_supports("avx2");
    if (hasAvx2) {
        blendRowsAvx2(block, ink);
        return;
    }
#endif
#if defined(OKU_COVERAGE_SSE2) || defined(OKU_COVERAGE_NEON)
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
        blendOpaque(block, Ink(c, wholeGlyph));
    }
}

} // namespace OKU
