#include "text/TextLayout.h"

#include "text/TextTestUtil.h"

using namespace OKU;
using TextTest::fontOf;

namespace {

typedef TextLayout<Font> FontLayout;

struct Result {
    std::vector<FontLayout::PlacedGlyph> glyphs;
    std::vector<std::vector<FontLayout::LineInfo>> lines;
    int width = -1;
    int height = -1;
    std::vector<int> xs;
};

Result layOut(const std::vector<const Font*>& fonts, const std::wstring& text, int maxWidth,
              int align, const std::vector<int>& indices = {}, int spacing = 0, int lineGap = 0,
              Bidi::Mode mode = 2)
{
    Result r;
    const FontLayout layout(0, 0, fonts, text.data(), text.data() + text.size(),
                        indices.empty() ? nullptr : indices.data(), maxWidth, spacing, lineGap,
                        align, &r.width, &r.height, mode);
    r.glyphs = layout.getGlyphs();
    r.lines = layout.getLines();
    for (const auto& g : r.glyphs)
        r.xs.push_back(g.x);
    return r;
}

// The lines of a left-to-right text joined by "|", its paragraphs (split at
// CR, LF and CR LF) by "/".
std::wstring linesOf(const std::wstring& text, const Result& r)
{
    std::wstring out;
    for (size_t p = 0, start = 0; p < r.lines.size(); ++p) {
        for (size_t l = 0; l < r.lines[p].size(); ++l)
            out += (l > 0 ? L"|" : p > 0 ? L"/" : L"") +
                   text.substr(start + r.lines[p][l].first, r.lines[p][l].count);
        const size_t end = text.find_first_of(L"\r\n", start);
        start =
            end == std::wstring::npos ? end : end + (text.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
    }
    return out;
}

} // namespace

TEST(TextLayoutTest, BreaksLinesAtSpacesHyphensSeparatorsAndOverflow)
{
    const Font mono = fontOf({"DroidSansMono.ttf"}, 16);
    const int m = mono.getGlyph(L'a')->getAdvance();
    ASSERT_EQ(m, mono.getGlyph(L'-')->getAdvance());
    ASSERT_EQ(m, mono.getGlyph(L' ')->getAdvance());

    // maxChars: 0: no wrapping
    const std::tuple<std::wstring, int, std::wstring> cases[] = {
        {L"aaa bbb ccc", 7, L"aaa bbb|ccc"},
        {L"aaa bbb ccc", 5, L"aaa|bbb|ccc"},
        {L"aaa   bbb", 4, L"aaa|bbb"},
        {L"abcdefgh", 3, L"abc|def|gh"},
        {L"well-known", 7, L"well-|known"},
        {L"ab\u00ADcdef", 4, L"ab\u00AD|cdef"},
        {L"ab cd", 1, L"a|b|c|d"},
        {L"a\nb c", 3, L"a/b c"},
        {L"a\r\nb\rc", 0, L"a/b/c"},
        {L"a\n", 0, L"a/"},
        {L"", 0, L""},
    };
    for (const auto& [text, maxChars, lines] : cases) {
        EXPECT_EQ(lines, linesOf(text, layOut({&mono}, text, maxChars * m, FontLayout::LEFT)))
            << std::string(text.begin(), text.end()) << " in " << maxChars;
    }
    EXPECT_EQ(L"ab|cd", linesOf(L"ab cd", layOut({&mono}, L"ab cd", 4 * m, FontLayout::LEFT, {}, 1)))
        << "the extra spacing counts";

    const int a = mono.getAscender();
    const int d = mono.getDescender();
    const int l = mono.getLineSpacing();
    Result r = layOut({&mono}, L"aaa bbb ccc", 5 * m, FontLayout::LEFT);
    EXPECT_EQ(3 * m, r.lines.at(0).at(1).width) << "the width of the line without its spaces";
    EXPECT_EQ(5 * m, r.width) << "the maximum width when there is one";
    EXPECT_EQ(a + 2 * l + d, r.height);
    ASSERT_EQ(9u, r.glyphs.size()) << "the skipped spaces are not placed";
    EXPECT_EQ(Point(0, a + l), Point(r.glyphs[3].x, r.glyphs[3].y));

    r = layOut({&mono}, L"ab\ncdef\n", 0, FontLayout::LEFT, {}, 0, 3);
    EXPECT_EQ(4 * m, r.width) << "the widest line without a maximum width";
    EXPECT_EQ(a + 2 * (l + 3) + d, r.height);
    EXPECT_EQ(a + d, layOut({&mono}, L"ab\ncd", 0, FontLayout::LEFT, {}, 0, -2 * l).height)
        << "lines never move upwards";

    // A soft hyphen inside a line is placed without a glyph and takes no room.
    r = layOut({&mono}, L"ab\u00ADcd", 0, FontLayout::LEFT);
    EXPECT_FALSE(r.glyphs.at(2).glyph);
    EXPECT_EQ(std::vector<int>({0, m, 2 * m, 2 * m, 3 * m}), r.xs);

    // The layout's origin, and the extra spacing after every glyph.
    const std::wstring ab = L"ab";
    const FontLayout moved(7, 9, {&mono}, ab.data(), ab.data() + 2, nullptr, 0, 2, 0, FontLayout::LEFT,
                       nullptr, nullptr, 0);
    EXPECT_EQ(Point(7 + m + 2, 9 + a), Point(moved.getGlyphs().at(1).x, moved.getGlyphs()[1].y));
}

TEST(TextLayoutTest, AlignsEveryLineWithinTheLayoutWidth)
{
    const Font mono = fontOf({"DroidSansMono.ttf"}, 16);
    const int m = mono.getGlyph(L'a')->getAdvance();

    // The last text is aligned within its widest line.
    const std::tuple<std::wstring, int, int, std::vector<int>> cases[] = {
        {L"abc", 9 * m, FontLayout::LEFT, {0, m, 2 * m}},
        {L"abc", 9 * m, FontLayout::CENTER, {3 * m, 4 * m, 5 * m}},
        {L"abc", 9 * m, FontLayout::RIGHT, {6 * m, 7 * m, 8 * m}},
        {L"ab\nc", 0, FontLayout::RIGHT, {0, m, m}},
    };
    for (const auto& [text, width, align, xs] : cases)
        EXPECT_EQ(xs, layOut({&mono}, text, width, align).xs) << align;

    // Justified: the missing width goes to the spaces of every line but the
    // last of its paragraph, share by share.
    const Result justified = layOut({&mono}, L"a b c dddddd\ne f", 7 * m + 3, FontLayout::JUSTIFY);
    EXPECT_EQ(L"a b c|dddddd/e f", linesOf(L"a b c dddddd\ne f", justified));
    const int e = 2 * m + 3;
    EXPECT_EQ(std::vector<int>({0, m, 2 * m + e / 2, 3 * m + e / 2, 4 * m + e, 0, m, 2 * m, 3 * m,
                                4 * m, 5 * m, 0, m, 2 * m}),
              justified.xs);

    // Squeezed: only lines wider than the maximum share the (negative)
    // difference over their gaps, and nothing wraps.
    const Result squeezed = layOut({&mono}, L"abcd\nab", 3 * m, FontLayout::SQUEEZE);
    EXPECT_EQ(std::vector<int>({0, m - m / 3, 2 * m - (m - m / 3) / 2 - m / 3, 2 * m, 0, m}),
              squeezed.xs);

    // Filled: every line spreads over the whole width.
    const Result filled = layOut({&mono}, L"abcd\nab", 8 * m, FontLayout::FILL);
    EXPECT_EQ(std::vector<int>({0, m + 4 * m / 3, 2 * m + 4 * m / 3 + (4 * m - 4 * m / 3) / 2,
                                7 * m, 0, 7 * m}),
              filled.xs);
}

TEST(TextLayoutTest, RightToLeftLinesAreReorderedWithMarksFontsAndMirroring)
{
    const Font hebrew = fontOf({"DroidSans.ttf", "DroidSansHebrew.ttf"}, 16);
    const Font arabic = fontOf({"DroidSansArabic.ttf"}, 16);
    const Font bigArabic = fontOf({"DroidSansArabic.ttf"}, 30);

    // Alef qamats bet space "(" shows as ")" space bet alef qamats.
    const Result r = layOut({&hebrew}, L"\u05D0\u05B8\u05D1 (", 0, FontLayout::LEFT, {}, 0, 0, 0);
    ASSERT_NE(hebrew.getGlyph(L'('), hebrew.getGlyph(L')'));
    const wchar_t shown[] = {L')', L' ', 0x05D1, 0x05D0, 0x05B8};
    ASSERT_EQ(5u, r.glyphs.size());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(hebrew.getGlyph(shown[i]), r.glyphs[i].glyph) << i;
    EXPECT_EQ(r.xs[3] + r.glyphs[3].glyph->getLeft(), r.xs[4]) << "the mark sits on its own base";

    // Lam and alef become one ligature; the beh after them keeps its font.
    const Result lig =
        layOut({&arabic, &bigArabic}, L"\u0644\u0627\u0628", 0, FontLayout::LEFT, {0, 0, 1});
    ASSERT_EQ(2u, lig.glyphs.size());
    EXPECT_EQ(bigArabic.getGlyph(0xFE8F), lig.glyphs[0].glyph) << "isolated beh, leftmost";
    EXPECT_EQ(arabic.getGlyph(0xFEFB), lig.glyphs[1].glyph);
    EXPECT_EQ(bigArabic.getAscender(), lig.glyphs[0].y) << "the tallest font sets the baseline";

    // Kerning between bases of the same font only.
    const Font big = fontOf({"DroidSans.ttf"}, 32);
    const int kern = big.getKerning(L'T', L'o').x;
    ASSERT_NE(0, kern);
    const int t = big.getGlyph(L'T')->getAdvance();
    EXPECT_EQ(std::vector<int>({0, t + kern}), layOut({&big}, L"To", 0, FontLayout::LEFT).xs);
    EXPECT_EQ(std::vector<int>({0, t}), layOut({&big, &hebrew}, L"To", 0, FontLayout::LEFT, {0, 1}).xs);
}

TEST(TextLayoutTest, FontMeasuresTextThroughTheLayout)
{
    const Font font = fontOf({"DroidSans.ttf"}, 16);
    const int a = font.getAscender();
    const int d = font.getDescender();
    const int l = font.getLineSpacing();
    const int wide = layOut({&font}, L"wide line", 0, FontLayout::LEFT).width;
    ASSERT_GT(wide, layOut({&font}, L"ab", 0, FontLayout::LEFT).width);
    EXPECT_EQ(Size(wide, a + l + d), font.getTextSize(L"wide line\nab"));
    EXPECT_EQ(font.getTextHeight(L"wide line\nab"), font.getTextSize(L"wide line\nab").height);
    EXPECT_EQ(wide, font.getTextWidth(L"ab\nwide line"));
    EXPECT_EQ(Size(0, a + d), font.getTextSize(L""));
    EXPECT_EQ(Size(0, a + 2 * l + d), font.getTextSize(L"\n\n"));
}
