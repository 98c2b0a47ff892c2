#ifndef OKU_TEXT_FONT_H
#define OKU_TEXT_FONT_H

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/Geometry.h"
#include "text/FontFace.h"
#include "text/FontTransform.h"
#include "text/Glyph.h"
#include "text/GlyphTable.h"

namespace OKU {

/// An ordered list of faces acting as one font: the first face that has a
/// character supplies its glyph, and the first face sets the metrics.
class Font {
public:
    /// A glyph (possibly empty) and its pen position relative to the start
    /// of the line on the baseline.
    struct GlyphPos {
        std::shared_ptr<const Glyph> glyph;
        Point pos;
    };

    /// No faces, all metrics 0.
    Font() = default;
    /// The first face added sets ascender, descender and line spacing.
    void addFace(const std::shared_ptr<const FontFace>& face);
    const std::vector<std::shared_ptr<const FontFace>>& getFaces() const { return m_faces; }

    /// Pixels above the baseline, below it (positive), baseline to baseline.
    int getAscender() const { return m_ascender; }
    int getDescender() const { return m_descender; }
    int getLineSpacing() const { return m_lineSpacing; }

    /// Never empty: a character no face has gives the first face's undefined
    /// glyph, a font without faces a glyph that draws nothing.
    std::shared_ptr<const Glyph> getGlyph(wchar_t c) const;
    std::shared_ptr<const Glyph> getGlyph(wchar_t c, const FontTransform::NullTransform&,
                                          const FontTransform::Vector<int>&) const
    {
        return getGlyph(c);
    }
    /// In whole pixels, from the face that supplies left; (0, 0) when that
    /// face does not have right.
    FontTransform::Vector<int> getKerning(wchar_t left, wchar_t right) const;

    /// The sum of the advances, without kerning; a soft hyphen counts only at
    /// the end of the text.
    int getRawStringWidth(const std::wstring& text) const;
    /// The same after Arabic shaping.
    int getStringWidth(const std::wstring& text) const;
    /// n times the advance of "M".
    int getStringWidth(int n) const;
    /// The size of the text laid out in this font alone: every paragraph
    /// separator starts a line, nothing else wraps, the direction comes from
    /// the text.
    Size getTextSize(const std::wstring& text) const;
    int getTextWidth(const std::wstring& text) const { return getTextSize(text).width; }
    /// ascender + descender + lineSpacing for every line feed.
    int getTextHeight(const std::wstring& text) const;

    /// Places one line in logical order, without kerning or bidi processing.
    /// Glyphs of advance 0 after a base glyph are marks, placed on the base's
    /// cluster; a soft hyphen before the end gives an empty glyph at (0, 0).
    /// box, when given, receives the horizontal extent of the glyph boxes
    /// (its width one more than their span) and the font's vertical extent
    /// with y = ascender.
    std::vector<GlyphPos> renderString(std::wstring::const_iterator begin,
                                       std::wstring::const_iterator end, Rect* box) const;
    /// Places the line as renderString does, handing each glyph and its
    /// position to place(glyph, pos) instead of collecting them; the glyph is
    /// empty for a soft hyphen before the end and otherwise refers to the
    /// font's cache. Stops early where place returns false.
    template <class Iterator, class Place>
    void placeString(Iterator begin, Iterator end, Place place) const;
    /// getBBox of the line renderString places.
    Rect getLineBBox(std::wstring::const_iterator begin, std::wstring::const_iterator end) const;
    /// Where a mark goes relative to the line: Thai marks (U+0E00..U+0E7F) are
    /// right-aligned with the cluster, under it for the vowels U+0E38..U+0E3A
    /// and above it otherwise, one pixel apart; other marks at (cluster x, 0).
    /// cluster is the pixel box of the base glyph and its marks so far.
    static Point getMarkPos(wchar_t c, const Glyph& mark, const Rect& cluster);
    /// Unions of the glyph boxes and of the bitmap boxes of the non-empty
    /// glyphs at their positions.
    static Rect getBBox(const std::vector<GlyphPos>& glyphs);
    static Rect getPixelBBox(const std::vector<GlyphPos>& glyphs);
    /// x and width of renderString's box for the whole text, stored where the
    /// pointers are not null; getHorizBBox shapes the text first.
    void getRawHorizBBox(const std::wstring& text, int* left, int* width) const;
    void getHorizBBox(const std::wstring& text, int* left, int* width) const;

    /// The union over the faces.
    std::set<wchar_t> getCharset() const;
    void appendCharset(std::set<wchar_t>& charset) const;
    void flushCache() const;

private:
    static constexpr wchar_t c_softHyphen = 0x00AD;

    /// The pen and the cluster of the base glyph and its marks while a line
    /// is placed.
    class Pen {
    public:
        /// Where the glyph for c goes; the pen moves past it unless it is a mark.
        Point place(wchar_t c, const Glyph& glyph);

    private:
        int m_x = 0;
        bool m_haveBase = false;
        Rect m_cluster;
    };

    /// getGlyph's result, from the table or looked up and stored there.
    const std::shared_ptr<const Glyph>& cachedGlyph(wchar_t c) const;
    /// The first face's glyph that has c, or the undefined one, stored.
    const std::shared_ptr<const Glyph>& lookUpGlyph(wchar_t c) const;

    int32_t m_ascender = 0;
    int32_t m_descender = 0;
    int32_t m_lineSpacing = 0;
    std::vector<std::shared_ptr<const FontFace>> m_faces;
    /// What getGlyph gave so far; emptied when a face is added or flushed.
    mutable GlyphTable m_glyphs;
};

inline const std::shared_ptr<const Glyph>& Font::cachedGlyph(wchar_t c) const
{
    const std::shared_ptr<const Glyph>* stored = m_glyphs.find(c);
    return stored ? *stored : lookUpGlyph(c);
}

template <class Iterator, class Place>
void Font::placeString(Iterator begin, Iterator end, Place place) const
{
    const std::shared_ptr<const Glyph> none;
    Pen pen;
    for (Iterator it = begin; it != end; ++it) {
        if (*it == c_softHyphen && it + 1 != end) {
            if (!place(none, Point(0, 0)))
                return;
            continue;
        }
        const std::shared_ptr<const Glyph>& glyph = cachedGlyph(*it);
        if (!place(glyph, pen.place(*it, *glyph)))
            return;
    }
}

} // namespace OKU

#endif
