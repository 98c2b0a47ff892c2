// Source pixels with alpha over a pixmap without alpha, eight at a time with
// NEON. Debian's armhf baseline has no NEON, so the code after the headers
// is compiled for it by the pragma below: the shared headers stay outside,
// so that no inline function of theirs gets a NEON copy that a processor
// without NEON could end up running. The table of the pixel loops takes
// this unit only on processors that have NEON (CpuFeatures.h).

#include "graphics/detail/PixelLoops.h"

#if defined(OKU_NEON_PIXEL_LOOPS)

#include <cstdint>
#include <cstring>

#if defined(__arm__)
#pragma GCC push_options
#pragma GCC target("fpu=neon")
#endif
#include <arm_neon.h>

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

namespace {

typedef Pixmap::Pixel Pixel;

const int c_group = 8;

// One channel of eight pixels at alpha a, na being 255 - a; right for
// 0 < a < 255 only.
uint8x8_t mix(uint8x8_t s, uint8x8_t d, uint8x8_t a, uint8x8_t na)
{
    return vshrn_n_u16(vmlal_u8(vmull_u8(s, a), d, na), 8);
}

// The channels are split into one register each: blue, green, red, alpha.
void blendEight(Pixel* dst, const Pixel* src)
{
    uint8_t* dstBytes = reinterpret_cast<uint8_t*>(dst);
    const uint8x8x4_t s = vld4_u8(reinterpret_cast<const uint8_t*>(src));
    const uint8x8_t a = s.val[3];
    const uint64_t alphas = vget_lane_u64(vreinterpret_u64_u8(a), 0);
    if (alphas == 0)
        return;
    if (alphas == ~uint64_t{0}) {
        vst4_u8(dstBytes, s);
        return;
    }
    uint8x8x4_t d = vld4_u8(dstBytes);
    const uint8x8_t opaque = vceq_u8(a, vdup_n_u8(255));
    const uint8x8_t clear = vceq_u8(a, vdup_n_u8(0));
    const uint8x8_t na = vmvn_u8(a);
    for (int c = 0; c < 3; ++c) {
        const uint8x8_t mixed = mix(s.val[c], d.val[c], a, na);
        d.val[c] = vbsl_u8(opaque, s.val[c], vbsl_u8(clear, d.val[c], mixed));
    }
    d.val[3] = vorr_u8(d.val[3], opaque);
    vst4_u8(dstBytes, d);
}

} // namespace

void blendOverOpaqueRowNeon(Pixel* dst, const Pixel* src, int count)
{
    int i = 0;
    for (; i + c_group <= count; i += c_group)
        blendEight(dst + i, src + i);
    const int rest = count - i;
    if (rest <= 0)
        return;
    // The last pixels as a group padded with pixels that are thrown away.
    Pixel s[c_group] = {};
    Pixel d[c_group] = {};
    const size_t bytes = static_cast<size_t>(rest) * sizeof(Pixel);
    std::memcpy(s, src + i, bytes);
    std::memcpy(d, dst + i, bytes);
    blendEight(d, s);
    std::memcpy(dst + i, d, bytes);
}

} // namespace detail
} // namespace OKU

#if defined(__arm__)
#pragma GCC pop_options
#endif

#endif
