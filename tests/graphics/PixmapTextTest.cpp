#include <algorithm>

#include "core/FatalError.h"
#include "core/TempDir.h"
#include "graphics/PixelTestUtil.h"
#include "text/Glyph.h"
#include "text/L10n.h"
#include "text/TextLayout.h"
#include "text/TextTestUtil.h"

using namespace OKU;
using namespace GraphicsTest;
using TextTest::fontOf;
using TextTest::moved;

namespace {

// The glyphs of chars drawn one after the other from x = 0 on the baseline.
Pixmap drawnGlyphs(const Font& font, const std::vector<wchar_t>& chars, int baseline)
{
    Pixmap p(120, 40, c_paper);
    int pen = 0;
    for (const wchar_t c : chars) {
        p.drawGlyphAbs(pen, baseline, *font.getGlyph(c), c_red);
        pen += font.getGlyph(c)->getAdvance();
    }
    return p;
}

} // namespace

TEST(PixmapTextTest, StringsAndGlyphsLandWhereTheAlignmentsSay)
{
    const Font font = fontOf({"DroidSans.ttf"}, 16);
    const int a = font.getAscender();
    const int d = font.getDescender();
    const std::wstring text = L"Hello";
    const auto glyphs = font.renderString(text.begin(), text.end(), nullptr);
    const Rect box = Font::getBBox(glyphs);
    const Rect pixels = Font::getPixelBBox(glyphs);

    // The box (20, 10, 150, 60) plus the offset (5, 7).
    const int x = 25, y = 17, w = 150, h = 60;
    const std::tuple<HAlign, VAlign, int, int> cases[] = {
        {HAlign::LEFT, VAlign::TOP, x, y + a},
        {HAlign::CENTER, VAlign::CENTER, x - box.x + (w - box.width) / 2,
         y + (h + a + d + 1) / 2 - d},
        {HAlign::RIGHT, VAlign::BASELINE, x + w - box.x - box.width, y + h},
        {HAlign::LEFT, VAlign::BOTTOM, x, y + h - d},
    };
    for (const auto& [halign, valign, pen, baseline] : cases) {
        Pixmap p(200, 100, c_paper);
        p.setOffset(5, 7);
        p.drawString(20, 10, 150, 60, font, text, c_red, halign, valign, 0);
        EXPECT_EQ(moved(pixels, pen, baseline), inkBox(p))
            << static_cast<int>(halign) << "/" << static_cast<int>(valign);
    }

    // The point form aligns to the point; only the line has to meet the clip.
    const Rect clip(0, 0, 150, 100);
    Pixmap point(200, 100, c_paper);
    point.setClipRectAbs(clip);
    point.drawString(160, 30, font, text, c_red, HAlign::RIGHT, VAlign::BASELINE, 0);
    EXPECT_EQ(moved(pixels, 160 - box.x - box.width, 30).intersection(clip), inkBox(point, clip));

    // A box that misses the clip draws nothing, even where its text would
    // overflow into the clip; nor does a line below the clip or an empty text.
    Pixmap missed(200, 100, c_paper);
    missed.setClipRectAbs(Rect(10, 0, 190, 100));
    missed.drawString(0, 0, 10, 30, font, text, c_red, HAlign::LEFT, VAlign::TOP, 0);
    missed.drawString(20, 100, font, text, c_red, HAlign::LEFT, VAlign::TOP, 0);
    missed.drawString(20, 20, font, L"", c_red, HAlign::LEFT, VAlign::TOP, 0);
    EXPECT_TRUE(inkBox(missed).isEmpty());

    // A single glyph against the font's line at y = 10 + 7.
    const auto glyph = font.getGlyph(L'H');
    const auto shared = std::make_shared<const Font>(font);
    const std::pair<VAlign, int> glyphCases[] = {{VAlign::TOP, y + a},
                                                 {VAlign::CENTER, y + (a - d + 1) / 2},
                                                 {VAlign::BASELINE, y},
                                                 {VAlign::BOTTOM, y - d}};
    for (const auto& c : glyphCases) {
        Pixmap p(100, 60, c_paper);
        p.setOffset(5, 7);
        p.drawGlyph(20, 10, shared, glyph, c_red, c.first);
        EXPECT_EQ(moved(glyph->getPixelBBox(), x, c.second), inkBox(p))
            << static_cast<int>(c.first);
    }
}

// A line without a strong character runs the language's way. drawString
// keeps the visual order of the line it drew last for the next drawing of the
// same line, so that line drawn again in another language or mode must come
// out the new way.
TEST(PixmapTextTest, RightToLeftStringsAreDrawnReversed)
{
    TempDir dir;
    // A language file of one translation, "a" to "b", in UTF-16 little-endian.
    dir.write("rtl", std::string("a\0\0\0b\0\0\0", 8));
    const Font font = fontOf({"DroidSans.ttf", "DroidSansArabic.ttf", "DroidSansHebrew.ttf"}, 16);
    const int baseline = font.getAscender();
    // The text, the mode, whether the language runs right to left, the glyphs
    // from the left.
    const std::tuple<std::wstring, Bidi::Mode, bool, std::vector<wchar_t>> cases[] = {
        {L"\u05D0\u05D1", 0, false, {0x05D1, 0x05D0}},  // alef bet: bet on the left
        {L"\u0628\u062A", 0, false, {0xFE96, 0xFE91}},  // beh teh: final teh, initial beh
        {L"\u05D0 ab", 0, false, {L'a', L'b', L' ', 0x05D0}},  // Latin keeps its order
        {L"ab(", 1, false, {L')', L'a', L'b'}},  // forced: mirrored to the left
        // A neutral line, drawn again after each change of language or mode.
        {L"12 ?", 0, false, {L'1', L'2', L' ', L'?'}},
        {L"12 ?", 0, true, {L'?', L' ', L'1', L'2'}},
        {L"12 ?", 0, false, {L'1', L'2', L' ', L'?'}},
        {L"12 ?", 1, false, {L'?', L' ', L'1', L'2'}},
        {L"12 ?", 2, false, {L'1', L'2', L' ', L'?'}},
    };
    for (const auto& [text, mode, rtl, drawn] : cases) {
        ASSERT_TRUE(l10nLoadLanguage(rtl ? dir / "rtl" : "",
                                     rtl ? L10n_Language::WESTERN_RTL : L10n_Language::WESTERN));
        Pixmap box(120, 40, c_paper);
        box.drawString(0, 0, 120, 40, font, text, c_red, HAlign::LEFT, VAlign::TOP, mode);
        Pixmap point(120, 40, c_paper);
        point.drawString(0, 0, font, text, c_red, HAlign::LEFT, VAlign::TOP, mode);
        const Pixmap expected = drawnGlyphs(font, drawn, baseline);
        ASSERT_FALSE(inkBox(expected).isEmpty());
        const std::string name = std::string(text.begin(), text.end()) + " mode " +
                                 std::to_string(mode) + (rtl ? " right to left" : "");
        EXPECT_EQ(pixels(expected), pixels(box)) << name;
        EXPECT_EQ(pixels(expected), pixels(point)) << name;
    }
}

TEST(PixmapTextTest, TextBlocksBreakWhereTheLayoutSays)
{
    const Font mono = fontOf({"DroidSansMono.ttf"}, 16);
    const int m = mono.getGlyph(L'a')->getAdvance();
    const int spacing = mono.getLineSpacing();
    const std::wstring text = L"aaa bbb ccc";
    const int w = 5 * m, h = 150;
    const auto draw = [&](HAlign halign, VAlign valign) {
        Pixmap p(200, 200, c_paper);
        p.setOffset(3, 4);
        p.drawText(10, 20, w, h, mono, text, c_red, halign, valign, 0);
        return p;
    };
    // The ink of each band one line spacing high from the block's top.
    const auto bands = [&](const Pixmap& p) {
        std::vector<Rect> result;
        for (int line = 0; line < 4; ++line)
            result.push_back(inkBox(p, Rect(0, 24 + line * spacing, 200, spacing)));
        return result;
    };

    const std::vector<Rect> left = bands(draw(HAlign::LEFT, VAlign::TOP));
    const std::vector<Rect> right = bands(draw(HAlign::RIGHT, VAlign::TOP));
    for (int line = 0; line < 3; ++line) {
        ASSERT_FALSE(left[line].isEmpty()) << line;
        EXPECT_GE(left[line].x, 13);
        EXPECT_LE(left[line].right(), 13 + 3 * m) << "three characters on line " << line;
        EXPECT_EQ(moved(left[line], 2 * m, 0), right[line]) << "right-aligned line " << line;
    }
    EXPECT_TRUE(left[3].isEmpty()) << "three lines";

    // The block as a whole moves to the centre or bottom of the box.
    const int blockHeight = mono.getAscender() + 2 * spacing + mono.getDescender();
    const Rect top = inkBox(draw(HAlign::LEFT, VAlign::TOP));
    EXPECT_EQ(moved(top, 0, (h - blockHeight) / 2), inkBox(draw(HAlign::LEFT, VAlign::CENTER)));
    EXPECT_EQ(moved(top, 0, h - blockHeight), inkBox(draw(HAlign::LEFT, VAlign::BOTTOM)));

    // A layout built elsewhere is drawn the same way, with the height given.
    const TextLayout<Font> layout(0, 0, {&mono}, text.data(), text.data() + text.size(), nullptr, w,
                                  0, 0, TextLayout<Font>::LEFT, nullptr, nullptr, 0);
    Pixmap p(200, 200, c_paper);
    p.setOffset(3, 4);
    p.drawTextLayout(10, 20, w, h, layout, c_red, blockHeight, VAlign::BOTTOM);
    EXPECT_EQ(moved(top, 0, h - blockHeight), inkBox(p));

    // Blocks whose box misses the clip draw nothing.
    Pixmap missed(200, 200, c_paper);
    missed.setClipRectAbs(Rect(0, 0, 10, 200));
    missed.drawText(10, 0, w, h, mono, text, c_red, HAlign::LEFT, VAlign::TOP, 0);
    missed.drawTextLayout(10, 0, w, h, layout, c_red, blockHeight, VAlign::TOP);
    EXPECT_TRUE(inkBox(missed).isEmpty());
}

TEST(PixmapTextTest, TextBlocksRefuseBaselineAndStretch)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const Font font = fontOf({"DroidSans.ttf"}, 16);
    const std::wstring text = L"x";
    const TextLayout<Font> layout(0, 0, {&font}, text.data(), text.data() + 1, nullptr, 0, 0, 0,
                                  TextLayout<Font>::LEFT, nullptr, nullptr, 0);
    Pixmap p(4, 4, false);
    for (const bool withLayout : {false, true})
        for (const VAlign v : {VAlign::BASELINE, VAlign::STRETCH})
            EXPECT_EXIT(
                {
                    setFatalErrorHandler(printFatalMessage);
                    if (withLayout)
                        p.drawTextLayout(0, 0, 4, 4, layout, c_red, 4, v);
                    else
                        p.drawText(0, 0, 4, 4, font, text, c_red, HAlign::LEFT, v, 0);
                },
                ::testing::ExitedWithCode(1),
                std::string("handled: Pixmap::drawText does not support VAlign::") +
                    (v == VAlign::BASELINE ? "BASELINE" : "STRETCH"));
}

TEST(GraymapTextTest, GlyphsFillTheirCellsInTwoValues)
{
    const Font font = fontOf({"DroidSans.ttf"}, 16);
    const int lineHeight = font.getAscender() + font.getDescender();
    const auto advance = [&font](wchar_t c) { return font.getGlyph(c)->getAdvance(); };
    const Graymap& b = font.getGlyph(L'B')->getBitmap();
    const long inkOfB = std::count_if(b.getPixels(), b.getPixels() + b.getWidth() * b.getHeight(),
                                      [](unsigned char v) { return v != 0; });
    const std::tuple<std::wstring, int, long> cases[] = {
        {L"B", advance(L'B'), inkOfB}, {L"A\u00ADB\u00AD", advance(L'A') + advance(L'B') + advance(0xAD), -1}};
    for (const auto& [text, cells, ink] : cases) {
        Graymap map(80, 30, false);
        map.clear(7);
        map.drawString(3, 2, font, text, 200, 50);
        long wrong = 0, fg = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 80; ++x) {
                const int v = map.getRow(y)[x];
                const bool inside = x >= 3 && x < 3 + cells && y >= 2 && y < 2 + lineHeight;
                wrong += inside ? v != 200 && v != 50 : v != 7;
                fg += v == 200;
            }
        EXPECT_EQ(0, wrong) << text.size() << " characters";
        EXPECT_TRUE(ink < 0 || ink == fg) << fg << " ink pixels";
    }
}
