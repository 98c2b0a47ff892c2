// Glyph coverage into a pixmap without alpha, eight pixels at a time with
// NEON. Debian's armhf baseline has no NEON, so the code after the shared
// headers is compiled for it by the pragma below, as in AlphaBlendNeon.cpp;
// the table of the pixel loops takes this unit only on processors that have
// NEON (CpuFeatures.h).

#include "graphics/detail/PixelLoops.h"

#if defined(OKU_NEON_PIXEL_LOOPS)

#include <cstdint>
#include <cstring>

#if defined(__arm__)
#pragma GCC push_options
#pragma GCC target("fpu=neon")
#endif
#include <arm_neon.h>

// Internal linkage throughout, so compiled for NEON here alone.
#include "graphics/detail/CoverageBlendRows.h"

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

namespace {

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

} // namespace

void blendCoverageOpaqueNeon(const CoverageBlock& block, const Color& c, bool wholeGlyph)
{
    blendRows<GroupBlend>(block, Ink(c, wholeGlyph));
}

} // namespace detail
} // namespace OKU

#if defined(__arm__)
#pragma GCC pop_options
#endif

#endif
