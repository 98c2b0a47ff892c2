#include "text/TextLayout.h"

#include <algorithm>
#include <cstddef>
#include <cwctype>
#include <string>
#include <utility>

#include "core/Geometry.h"
#include "text/Font.h"
#include "text/Glyph.h"

namespace OKU {

namespace {

const wchar_t c_softHyphen = 0x00AD;
const wchar_t c_lam = 0x0644;

bool isLamAlef(wchar_t c)
{
    return c >= 0xFEF5 && c <= 0xFEFC;
}

bool isSpace(wchar_t c)
{
    return std::iswspace(static_cast<wint_t>(c)) != 0;
}

Rect moved(const Rect& r, int dx, int dy)
{
    return Rect(r.x + dx, r.y + dy, r.width, r.height);
}

// How far a glyph moves the pen. Glyphs that do not advance (marks, format
// codes) take no spacing either, and the pen never moves backwards.
int penStep(const Glyph& glyph, int spacing)
{
    return glyph.getAdvance() == 0 ? 0 : std::max(0, glyph.getAdvance() + spacing);
}

// The font index of every shaped character. Shaping replaces a lam and the
// alef after it by one ligature, which takes the lam's font.
std::vector<int> shapedFontIndices(const wchar_t* text, const int* indices,
                                   const std::wstring& shaped)
{
    std::vector<int> result(shaped.size(), 0);
    if (indices == nullptr)
        return result;
    std::size_t i = 0;
    for (std::size_t j = 0; j < shaped.size(); ++j) {
        result[j] = indices[i];
        i += isLamAlef(shaped[j]) && text[i] == c_lam ? 2 : 1;
    }
    return result;
}

// A paragraph as offsets into the shaped text: its characters, then the
// separator that ends it (none for the last paragraph of a text that does
// not end with one).
struct Block {
    std::size_t begin;
    std::size_t contentEnd;
    std::size_t end;
};

std::vector<Block> findBlocks(const std::wstring& text,
                              const std::vector<Bidi::Paragraph>& paragraphs,
                              const Bidi::Char* first)
{
    std::vector<Block> blocks;
    for (const Bidi::Paragraph& p : paragraphs) {
        const std::size_t begin = static_cast<std::size_t>(p.begin - first);
        const std::size_t end = static_cast<std::size_t>(p.end - first);
        const bool separated = p.end[-1].initial == Bidi::B;
        if (separated && end - begin == 1 && text[begin] == L'\n' && !blocks.empty() &&
            blocks.back().contentEnd + 1 == begin && text[begin - 1] == L'\r') {
            blocks.back().end = end;
            continue;
        }
        blocks.push_back(Block{begin, separated ? end - 1 : end, end});
    }
    if (blocks.empty() || blocks.back().contentEnd != blocks.back().end)
        blocks.push_back(Block{text.size(), text.size(), text.size()});
    return blocks;
}

// Where a line ends and where the next one starts (after skipped white
// space).
struct Break {
    std::size_t end;
    std::size_t next;
};

std::size_t skipSpaces(const std::wstring& text, std::size_t i, std::size_t end)
{
    while (i < end && isSpace(text[i]))
        ++i;
    return i;
}

// The first line of text[start, end) no wider than maxWidth; step(i) is
// what character i adds to the width. The first character always fits.
template <class Step>
Break findBreak(const std::wstring& text, std::size_t start, std::size_t end, int maxWidth,
                Step step)
{
    int width = 0;
    bool haveOpportunity = false;
    Break opportunity{end, end};
    for (std::size_t i = start; i < end; ++i) {
        const wchar_t c = text[i];
        const bool space = isSpace(c);
        if (space && i > start && !isSpace(text[i - 1])) {
            opportunity = Break{i, skipSpaces(text, i, end)};
            haveOpportunity = true;
        }
        const int w = step(i);
        if (i > start && width + w > maxWidth) {
            // Overflowing white space always lies in the run of the last
            // opportunity, unless the line started with it.
            if (haveOpportunity)
                return opportunity;
            return Break{i, space ? skipSpaces(text, i, end) : i};
        }
        width += w;
        if (c == c_softHyphen || c == L'-') {
            opportunity = Break{i + 1, i + 1};
            haveOpportunity = true;
        }
    }
    return Break{end, end};
}

// A glyph of a line before alignment: x relative to the line's start, y to
// its baseline. Bases move the pen; marks sit on the base before them.
struct LineGlyph {
    std::shared_ptr<const Glyph> glyph;
    int x;
    int y;
    bool base;
    bool space;
};

struct Line {
    std::vector<LineGlyph> glyphs;
    int width;
    bool lastOfParagraph;
};

// Places text[begin, end) in display order: kerning between bases of the
// same font, soft hyphens inside the line as empty glyphs, marks on their
// base's cluster.
template <class F>
Line placeLine(const std::wstring& text, const std::vector<Bidi::Char>& chars,
               const std::vector<int>& fontIndices, const std::vector<const F*>& fonts,
               std::size_t begin, std::size_t end, int spacing)
{
    Line line{{}, 0, false};
    line.glyphs.reserve(end - begin);
    int pen = 0;
    bool haveBase = false;
    Rect cluster;
    wchar_t previous = 0;
    int previousFont = -1;
    for (const std::size_t offset : Bidi::visualOrder(chars.data() + begin, chars.data() + end)) {
        const std::size_t i = begin + offset;
        const wchar_t c = text[i];
        if (c == c_softHyphen && i + 1 != end) {
            line.glyphs.push_back(LineGlyph{nullptr, pen, 0, false, false});
            continue;
        }
        const F& font = *fonts[fontIndices[i]];
        std::shared_ptr<const Glyph> glyph = font.getGlyph(c);
        if (glyph->getAdvance() == 0 && haveBase) {
            const Point pos = F::getMarkPos(c, *glyph, cluster);
            cluster.include(moved(glyph->getPixelBBox(), pos.x, pos.y));
            line.glyphs.push_back(LineGlyph{std::move(glyph), pos.x, pos.y, false, false});
            continue;
        }
        if (haveBase && fontIndices[i] == previousFont)
            pen += font.getKerning(previous, c).x;
        cluster = moved(glyph->getPixelBBox(), pen, 0);
        const int step = penStep(*glyph, spacing);
        line.glyphs.push_back(LineGlyph{std::move(glyph), pen, 0, true, c == L' '});
        pen += step;
        haveBase = true;
        previous = c;
        previousFont = fontIndices[i];
    }
    line.width = pen;
    return line;
}

// Extra width handed out one share at a time: each share is what remains
// divided by the number of shares left.
class Shares {
public:
    Shares(int amount, int count) : m_amount(amount), m_count(count) {}
    int take()
    {
        if (m_count <= 0)
            return 0;
        const int share = m_amount / m_count;
        m_amount -= share;
        --m_count;
        return share;
    }

private:
    int m_amount;
    int m_count;
};

// The spaces that another base follows: where justification widens a line.
int countSpaceGaps(const Line& line)
{
    int count = 0;
    bool pendingSpace = false;
    for (const LineGlyph& g : line.glyphs) {
        if (!g.base)
            continue;
        if (pendingSpace)
            ++count;
        pendingSpace = g.space;
    }
    return count;
}

// The gaps between bases: where SQUEEZE and FILL change a line's width.
int countBaseGaps(const Line& line)
{
    const auto bases = std::count_if(line.glyphs.begin(), line.glyphs.end(),
                                     [](const LineGlyph& g) { return g.base; });
    return std::max(0, static_cast<int>(bases) - 1);
}

// The x of every glyph of a line, relative to the layout's left edge, once
// the line is aligned within the layout width.
template <class F>
std::vector<int> alignedXs(const Line& line, int layoutWidth, int align)
{
    typedef TextLayout<F> Layout;
    const int missing = layoutWidth - line.width;
    int offset = 0;
    Shares shares(0, 0);
    switch (align) {
    case Layout::CENTER:
        offset = missing / 2;
        break;
    case Layout::RIGHT:
        offset = missing;
        break;
    case Layout::JUSTIFY:
        if (!line.lastOfParagraph && missing > 0)
            shares = Shares(missing, countSpaceGaps(line));
        break;
    case Layout::SQUEEZE:
        if (missing < 0)
            shares = Shares(missing, countBaseGaps(line));
        break;
    case Layout::FILL:
        shares = Shares(missing, countBaseGaps(line));
        break;
    default:
        break;
    }
    // A base takes its share before it is placed, and its marks follow it.
    std::vector<int> xs;
    xs.reserve(line.glyphs.size());
    int extra = 0;
    bool firstBase = true;
    bool afterSpace = false;
    for (const LineGlyph& g : line.glyphs) {
        if (g.base) {
            if (!firstBase && (align != Layout::JUSTIFY || afterSpace))
                extra += shares.take();
            firstBase = false;
            afterSpace = g.space;
        }
        xs.push_back(offset + g.x + extra);
    }
    return xs;
}

} // namespace

template <class F>
TextLayout<F>::TextLayout(int x, int y, const std::vector<const F*>& fonts, const wchar_t* begin,
                          const wchar_t* end, const int* fontIndices, int maxWidth, int spacing,
                          int lineGap, int align, int* width, int* height, Bidi::Mode mode)
{
    int ascender = 0;
    int lineSpacing = 0;
    for (const F* font : fonts) {
        ascender = std::max(ascender, font->getAscender());
        lineSpacing = std::max(lineSpacing, font->getLineSpacing());
    }

    std::wstring text;
    std::vector<Bidi::Char> chars;
    Bidi::shapeAndClassify(begin, end, text, chars);
    const std::vector<int> indices = shapedFontIndices(begin, fontIndices, text);
    Bidi::Char* const first = chars.data();
    const std::vector<Bidi::Paragraph> paragraphs =
        Bidi::resolveParagraphs(first, first + chars.size(), mode);
    Bidi::mirror(&text[0], first, first + chars.size());

    const bool wrap = maxWidth > 0 && align != SQUEEZE && align != FILL;
    const auto step = [&](std::size_t i) {
        if (text[i] == c_softHyphen)
            return 0;
        return penStep(*fonts[indices[i]]->getGlyph(text[i]), spacing);
    };

    std::vector<Line> lines;
    for (const Block& block : findBlocks(text, paragraphs, first)) {
        std::vector<LineInfo>& infos = m_lines.emplace_back();
        std::size_t start = block.begin;
        do {
            const Break brk = wrap ? findBreak(text, start, block.contentEnd, maxWidth, step)
                                   : Break{block.contentEnd, block.contentEnd};
            lines.push_back(placeLine(text, chars, indices, fonts, start, brk.end, spacing));
            infos.push_back(LineInfo{static_cast<int32_t>(start - block.begin),
                                     static_cast<int32_t>(brk.end - start), lines.back().width});
            start = brk.next;
        } while (start < block.contentEnd);
        lines.back().lastOfParagraph = true;
    }

    int layoutWidth = maxWidth;
    if (layoutWidth <= 0) {
        layoutWidth = 0;
        for (const Line& line : lines)
            layoutWidth = std::max(layoutWidth, line.width);
    }

    int baseline = y + ascender;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        if (n > 0)
            baseline += std::max(0, lineGap + lineSpacing);
        const std::vector<int> xs = alignedXs<F>(lines[n], layoutWidth, align);
        for (std::size_t k = 0; k < xs.size(); ++k) {
            const LineGlyph& g = lines[n].glyphs[k];
            m_glyphs.push_back(PlacedGlyph{g.glyph, x + xs[k], baseline + g.y});
        }
    }

    if (width != nullptr)
        *width = layoutWidth;
    if (height != nullptr)
        *height = baseline - y + fonts.front()->getDescender();
}

// The constructor only: the accessors are inline, compiled where they are used.
template TextLayout<Font>::TextLayout(int x, int y, const std::vector<const Font*>& fonts,
                                      const wchar_t* begin, const wchar_t* end,
                                      const int* fontIndices, int maxWidth, int spacing,
                                      int lineGap, int align, int* width, int* height,
                                      Bidi::Mode mode);

} // namespace OKU
