#ifndef OKU_GRAPHICS_DETAIL_COVERAGEBLENDROWS_H
#define OKU_GRAPHICS_DETAIL_COVERAGEBLENDROWS_H

// Private to the coverage blend: the pieces that its loops share, included
// by the unit of each instruction set (CoverageBlend.cpp, CoverageBlendSse2.cpp,
// ...). Everything here has internal linkage on purpose: a copy compiled for
// NEON or AVX2 must never stand in for the one other processors run.
//
// The colour blend (a * s + (255 - a) * d) >> 8 of a pixmap without alpha
// holds for 0 < a < 255 only: a = 0 must leave the pixel and a = 255 must
// give the colour. Weighting colour and pixel by (wc, wd) = (a, 255 - a) in
// between and by (0, 256) and (256, 0) at the two ends gives all three cases
// through the one formula (wc * s + wd * d) >> 8, so no pixel takes a branch.
// As wc + wd <= 256, every sum stays below 65536: two channels share a 32-bit
// word, eight a 128-bit register.

#include <cstdint>
#include <cstring>

#include "graphics/detail/CoverageBlend.h"

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

namespace {

inline uint32_t toWord(const Pixmap::Pixel& p)
{
    uint32_t w;
    memcpy(&w, &p, sizeof w);
    return w;
}

inline void storeWord(Pixmap::Pixel* p, uint32_t word)
{
    memcpy(p, &word, sizeof word);
}

const Pixmap::Pixel c_alphaOnly{0, 0, 0, 255};

/// The drawing colour as the blends take it, worked out once per glyph.
struct Ink {
    Ink(const Color& c, bool wholeGlyph)
        : colour(toWord(Pixmap::Pixel{static_cast<uint8_t>(c.blue), static_cast<uint8_t>(c.green),
                                      static_cast<uint8_t>(c.red), 255})),
          alpha(c.alpha), wholeGlyph(wholeGlyph)
    {
    }

    /// Opaque, as a pixel word.
    uint32_t colour;
    int alpha;
    bool wholeGlyph;
};

/// One pixel at a time: the channel pairs (bytes 0 and 2, bytes 1 and 3) in
/// the 16-bit halves of a word, independent of the byte order.
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


/// Calls blendRow(pixels, coverage) for every row of the block.
template <class BlendRow>
void forEachRow(const CoverageBlock& block, BlendRow blendRow)
{
    Pixmap::Pixel* pixels = block.pixels;
    const unsigned char* coverage = block.coverage;
    for (int y = 0; y < block.height;
         ++y, pixels += block.pixelStride, coverage += block.coverageStride)
        blendRow(pixels, coverage);
}

/// One row of a glyph: eight pixels at a time, then four. Coverage 0 leaves
/// a pixel alone, so a group or pixel without any is skipped, and the one to
/// three pixels left over go as the last four pixels of the row with the
/// coverage of those already blended masked to 0. Rows narrower than four go
/// singly. All rows of a glyph have the same width, so the split is worked
/// out once. Groups blends four and eight pixels at a time.
template <class Groups>
class RowBlend {
public:
    RowBlend(const Ink& ink, int width)
        : m_single(ink), m_groups(ink), m_grouped(width & ~3), m_width(width),
          m_tailed(width >= 4 ? width : m_grouped),
          // Coverage bytes are read with the leftmost in the lowest byte.
          m_tailMask(~uint32_t{0} << (8 * (4 - (width & 3)) & 31))
    {
    }

    /// Everything of a row but its tail.
    void blendGroups(Pixmap::Pixel* dst, const unsigned char* coverage) const
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
        if (x < m_tailed)
            return;
        for (; x < m_width; ++x) {
            if (coverage[x] != 0)
                m_single.blend(dst[x], coverage[x]);
        }
    }

    /// Whether rows have a tail: the last four pixels, overlapping the
    /// groups before them.
    bool hasTail() const { return m_grouped < m_tailed; }

    void blendTail(Pixmap::Pixel* dst, const unsigned char* coverage) const
    {
        uint32_t four;
        memcpy(&four, coverage + m_width - 4, sizeof four);
        four &= m_tailMask;
        if (four != 0)
            m_groups.blendFour(dst + m_width - 4, four);
    }

private:
    PixelBlend m_single;
    Groups m_groups;
    int m_grouped;
    int m_width;
    /// The end of what the groups cover: the width, or m_grouped for rows
    /// narrower than four.
    int m_tailed;
    uint32_t m_tailMask;
};

template <class Groups>
void blendRows(const CoverageBlock& block, const Ink& ink)
{
    const RowBlend<Groups> row(ink, block.width);
    forEachRow(block, [&row](Pixmap::Pixel* pixels, const unsigned char* coverage) {
        row.blendGroups(pixels, coverage);
    });
    // The tails go in a pass of their own: a tail read right after the
    // overlapping group was written would wait for that store to complete.
    if (row.hasTail()) {
        forEachRow(block, [&row](Pixmap::Pixel* pixels, const unsigned char* coverage) {
            row.blendTail(pixels, coverage);
        });
    }
}

} // namespace

} // namespace detail
} // namespace OKU

#endif
