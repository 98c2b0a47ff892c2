#ifndef OKU_TEXT_TEXTLAYOUT_H
#define OKU_TEXT_TEXTLAYOUT_H

#include <cstdint>
#include <memory>
#include <vector>

#include "text/Bidi.h"

namespace OKU {

class Glyph;

/// A block of text broken into lines, each line reordered for display and
/// aligned, with every glyph at its final position. F is the font type (Font
/// in the toolkit, for which TextLayout.cpp instantiates it); the layout is
/// built once and then only read.
///
/// Lines end at paragraph separators (carriage return followed by line feed
/// counts as one) and, with a maximum width, where the next character would
/// overflow it: at the last run of white space (which is dropped), after the
/// last hyphen or soft hyphen, or else before that character. A text that is
/// empty or ends with a paragraph separator has an empty last line, so that
/// the height matches Font::getTextHeight.
template <class F>
class TextLayout {
public:
    /// glyph is empty for a soft hyphen inside a line. (x, y) is the pen on
    /// the baseline, including the layout's origin.
    struct PlacedGlyph {
        std::shared_ptr<const Glyph> glyph;
        int x;
        int y;
    };

    /// One line of a paragraph: its first character (index into the shaped
    /// paragraph), number of characters, and width in pixels before alignment.
    struct LineInfo {
        int32_t first;
        int32_t count;
        int32_t width;
    };

    /// Text alignment numbers. JUSTIFY widens the spaces of every line but a
    /// paragraph's last; SQUEEZE narrows the gaps between the glyphs of lines
    /// wider than the maximum width; FILL widens or narrows those gaps so that
    /// every line takes the whole width. SQUEEZE and FILL never wrap.
    enum Align { LEFT = 0, CENTER = 1, RIGHT = 2, JUSTIFY = 3, SQUEEZE = 4, FILL = 5 };

    /// (x, y) is the layout's top-left corner. fonts must not be empty; the
    /// first one's descender ends the layout. fontIndices holds one index into
    /// fonts per character of begin..end; null takes the first font for all.
    /// Wrapping needs maxWidth > 0; spacing is added after every glyph that
    /// advances the pen, lineGap between lines. width and height, where not
    /// null, receive the layout's size: the maximum width when it is set, else
    /// the widest line, and the last baseline (relative to y) plus the
    /// descender.
    TextLayout(int x, int y, const std::vector<const F*>& fonts, const wchar_t* begin,
               const wchar_t* end, const int* fontIndices, int maxWidth, int spacing, int lineGap,
               int align, int* width, int* height, Bidi::Mode mode);

    /// In display order, line by line.
    const std::vector<PlacedGlyph>& getGlyphs() const { return m_glyphs; }
    /// The lines of every paragraph, in order.
    const std::vector<std::vector<LineInfo>>& getLines() const { return m_lines; }

private:
    std::vector<PlacedGlyph> m_glyphs;
    std::vector<std::vector<LineInfo>> m_lines;
};

} // namespace OKU

#endif
