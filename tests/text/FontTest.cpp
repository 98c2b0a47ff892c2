#include "text/Font.h"

#include <set>
#include <thread>

#include "core/FatalError.h"
#include "core/TempDir.h"
#include "text/TextTestUtil.h"

using namespace OKU;
using namespace TextTest;

namespace {

Font fontOf(const std::vector<std::shared_ptr<const FontFace>>& faces)
{
    Font font;
    for (const auto& f : faces)
        font.addFace(f);
    return font;
}

int advance(const Font& font, wchar_t c)
{
    return font.getGlyph(c)->getAdvance();
}

} // namespace

TEST(FontTest, FallbackTakesEachCharacterFromTheFirstFaceThatHasIt)
{
    const auto latin = face("DroidSans.ttf", 16);
    const auto arabic = face("DroidSansArabic.ttf", 16);
    const auto japanese = face("DroidSansJapanese.ttf", 16);
    const Font font = fontOf({latin, arabic, japanese});
    EXPECT_EQ(
        (std::vector<int>{latin->getAscender(), latin->getDescender(), latin->getLineSpacing()}),
        (std::vector<int>{font.getAscender(), font.getDescender(), font.getLineSpacing()}));

    // Presentation forms too, for shaping.
    for (const auto& [from, c] :
         {std::make_pair(latin, wchar_t(L'A')), std::make_pair(arabic, wchar_t(0x0628)),
          std::make_pair(arabic, wchar_t(0xFE91)), std::make_pair(japanese, wchar_t(0x3042))})
        EXPECT_EQ(from->getGlyph(c), font.getGlyph(c)) << int(c);

    // A character no face has: the first face's missing-glyph shape.
    const auto undefined = font.getGlyph(0x10FFFD);
    EXPECT_EQ(latin->getUndefinedGlyph(), undefined);
    EXPECT_FALSE(undefined->getBitmap().isEmpty());
    EXPECT_EQ(undefined, latin->getGlyph(0)) << "character 0 is glyph index 0";

    ASSERT_TRUE(Font().getGlyph(L'A'));
    EXPECT_EQ(0, Font().getGlyph(L'A')->getAdvance());

    const std::set<wchar_t> charset = font.getCharset();
    EXPECT_TRUE(charset.count(L'A') && charset.count(0x0628) && charset.count(0x3042));
}

TEST(FontTest, GlyphsAreRenderedOnceAndShared)
{
    const auto latin = face("DroidSans.ttf", 16);
    const auto japanese = face("DroidSansJapanese.ttf", 16);
    const Font font = fontOf({latin, japanese});
    const auto a = font.getGlyph(L'A');
    EXPECT_EQ(a, font.getGlyph(L'A'));
    EXPECT_EQ(a, font.getGlyph(L'A', FontTransform::NullTransform(),
                               FontTransform::Vector<int>(3, 4)));
    EXPECT_NE(a, face("DroidSans.ttf", 16)->getGlyph(L'A')) << "each face has its own cache";

    // Line breaks show the return symbol, here from the Japanese face.
    const auto ret = japanese->getGlyph(0x21B5);
    ASSERT_TRUE(ret);
    EXPECT_EQ(ret, font.getGlyph(L'\n'));
    EXPECT_EQ(ret, font.getGlyph(L'\r'));
    EXPECT_EQ(ret->getAdvance(), font.getRawStringWidth(L"\n"));

    // Directional marks take no space and are not cached.
    for (wchar_t mark : {0x200E, 0x200F, 0x202A, 0x202E}) {
        const auto g = latin->getGlyph(mark);
        ASSERT_TRUE(g);
        EXPECT_NE(g, latin->getGlyph(mark));
        EXPECT_EQ(0, g->getAdvance());
        EXPECT_TRUE(g->getBitmap().isEmpty());
    }

    // An assigned font starts with an empty table and asks its faces again.
    Font assigned = fontOf({japanese});
    ASSERT_NE(a, assigned.getGlyph(L'A'));
    assigned = font;
    EXPECT_EQ(a, assigned.getGlyph(L'A'));

    font.flushCache();
    EXPECT_NE(a, font.getGlyph(L'A'));
    EXPECT_EQ(a->getBitmap(), font.getGlyph(L'A')->getBitmap());
}

// The font remembers what it looked up: a face added later must still serve
// the characters it has, and code points outside the usual range, negative
// ones where wchar_t is signed among them, are remembered as well.
TEST(FontTest, GlyphsLookedUpBeforeAFaceIsAddedComeFromIt)
{
    const auto latin = face("DroidSans.ttf", 16);
    const auto arabic = face("DroidSansArabic.ttf", 16);
    Font font = fontOf({latin});
    EXPECT_EQ(latin->getUndefinedGlyph(), font.getGlyph(0x0628));
    font.addFace(arabic);
    EXPECT_EQ(arabic->getGlyph(0x0628), font.getGlyph(0x0628));
    EXPECT_EQ(latin->getGlyph(L'A'), font.getGlyph(L'A'));
    for (const wchar_t c : {static_cast<wchar_t>(0x1F600), static_cast<wchar_t>(-5)}) {
        EXPECT_EQ(latin->getUndefinedGlyph(), font.getGlyph(c));
        EXPECT_EQ(font.getGlyph(c), font.getGlyph(c));
    }
}

TEST(FontTest, FaceMetricsInPixels)
{
    // Ascender, descender and line spacing. Open Sans: 2189 up, 600 down per
    // 2048 units; Roboto Italic: 2146 and 555; the bitmap font: 6 up and 2 down.
    const std::tuple<std::string, int, std::vector<int>> cases[] = {
        {c_fontDir + "/DroidSans.ttf", 16, {18, 5, 22}},
        {c_fontDir + "/DroidSans.ttf", 32, {35, 10, 44}},
        {c_fontDir + "/Roboto-Italic.ttf", 16, {17, 5, 22}},
        {c_dataDir + "/bitmap.bdf", 8, {6, 2, 8}},
    };
    for (const auto& [path, height, metrics] : cases) {
        const FontFace f(path, height, 0);
        EXPECT_EQ(metrics,
                  (std::vector<int>{f.getAscender(), f.getDescender(), f.getLineSpacing()}))
            << path << " at " << height;
    }
}

TEST(FontTest, OneBitGlyphsOfABitmapFont)
{
    const FontFace bitmap(c_dataDir + "/bitmap.bdf", 8, 0);
    const auto a = bitmap.getGlyph(L'A');
    ASSERT_TRUE(a);
    EXPECT_EQ(4, a->getAdvance());
    EXPECT_EQ(Rect(0, -5, 3, 5), a->getPixelBBox());
    const Graymap& g = a->getBitmap();
    const std::vector<unsigned char> expected{0,   255, 0,   255, 0,   255, 255, 255,
                                              255, 255, 0,   255, 255, 0,   255};
    EXPECT_EQ(expected, std::vector<unsigned char>(g.getPixels(), g.getPixels() + 15));
    EXPECT_FALSE(bitmap.getGlyph(L'C'));
}

TEST(FontTest, KerningComesFromTheFaceOfTheLeftCharacter)
{
    // Open Sans kerns "To" by 143 and "AV" by 82 of 2048 units.
    const auto latin = face("DroidSans.ttf", 32);
    const auto arabic = face("DroidSansArabic.ttf", 32);
    const Font font = fontOf({latin, arabic});
    EXPECT_EQ(FontTransform::Vector<int>(-2, 0), font.getKerning(L'T', L'o'));
    EXPECT_EQ(FontTransform::Vector<int>(-1, 0), font.getKerning(L'A', L'V'));
    EXPECT_EQ(FontTransform::Vector<int>(0, 0), font.getKerning(L'T', 0x0628));
    EXPECT_EQ(FontTransform::Vector<int>(0, 0), font.getKerning(0x0628, L'o'));
}

TEST(FontTest, StringWidthsCountAdvancesOfTheShapedText)
{
    const Font font = fontOf({face("DroidSans.ttf", 16), face("DroidSansArabic.ttf", 16)});
    const int av = advance(font, L'A') + advance(font, L'V');
    EXPECT_EQ(av, font.getRawStringWidth(L"AV")) << "no kerning";
    EXPECT_EQ(av, font.getRawStringWidth(L"A\u00ADV")) << "an inner soft hyphen is invisible";
    EXPECT_EQ(av + advance(font, 0xAD), font.getRawStringWidth(L"AV\u00AD"));
    EXPECT_EQ(0, font.getRawStringWidth(L""));
    EXPECT_EQ(3 * advance(font, L'M'), font.getStringWidth(3));

    // Two behs join: initial and final forms instead of two isolated ones.
    const std::wstring behs = L"\u0628\u0628";
    EXPECT_EQ(advance(font, 0xFE91) + advance(font, 0xFE90), font.getStringWidth(behs));
    EXPECT_EQ(2 * advance(font, 0x0628), font.getRawStringWidth(behs));
    int width = -1, rawWidth = -1;
    font.getHorizBBox(behs, nullptr, &width);
    font.getRawHorizBBox(behs, nullptr, &rawWidth);
    EXPECT_LT(width, rawWidth);
}

TEST(FontTest, RenderStringPlacesBasesAlongThePen)
{
    const Font font = fontOf({face("DroidSans.ttf", 16)});
    const auto a = font.getGlyph(L'A');
    const auto v = font.getGlyph(L'V');
    const std::wstring text = L"A\u00ADV";
    Rect box;
    const std::vector<Font::GlyphPos> placed = font.renderString(text.begin(), text.end(), &box);
    // An inner soft hyphen gives an empty glyph.
    ASSERT_EQ(3u, placed.size());
    EXPECT_EQ((std::vector<std::shared_ptr<const Glyph>>{a, nullptr, v}),
              (std::vector<std::shared_ptr<const Glyph>>{placed[0].glyph, placed[1].glyph,
                                                         placed[2].glyph}));
    EXPECT_EQ((std::vector<Point>{Point(0, 0), Point(0, 0), Point(a->getAdvance(), 0)}),
              (std::vector<Point>{placed[0].pos, placed[1].pos, placed[2].pos}));

    const int right = a->getAdvance() + v->getBBox().x + v->getBBox().width;
    EXPECT_EQ(Rect(a->getBBox().x, font.getAscender(), right - a->getBBox().x + 1,
                   font.getAscender() + font.getDescender()),
              box);
    int left = -1, width = -1;
    font.getRawHorizBBox(text, &left, &width);
    EXPECT_EQ(std::make_pair(box.x, box.width), std::make_pair(left, width));

    Rect pixels = moved(a->getPixelBBox(), placed[0].pos.x, placed[0].pos.y);
    pixels.include(moved(v->getPixelBBox(), placed[2].pos.x, placed[2].pos.y));
    EXPECT_EQ(pixels, Font::getPixelBBox(placed));
    const Rect boxes = Font::getBBox(placed);
    EXPECT_EQ(std::make_pair(box.x, box.width - 1), std::make_pair(boxes.x, boxes.width))
        << "the extent of the same boxes";

    const std::wstring empty;
    EXPECT_TRUE(font.renderString(empty.begin(), empty.end(), &box).empty());
    EXPECT_EQ(Rect(0, font.getAscender(), 0, font.getAscender() + font.getDescender()), box);

    // A trailing soft hyphen is drawn; a mark without a base is a base.
    const std::wstring tail = L"A\u00AD";
    EXPECT_TRUE(font.renderString(tail.begin(), tail.end(), nullptr)[1].glyph);
    const std::wstring lead = L"\u0301A";
    const auto leading = font.renderString(lead.begin(), lead.end(), nullptr);
    EXPECT_EQ(Point(0, 0), leading[1].pos);
}

TEST(FontTest, RenderStringPutsMarksOnTheirCluster)
{
    const Font font = fontOf({face("DroidSans.ttf", 16), face("DroidSansThai.ttf", 16)});
    const auto pixelBox = [](const Font::GlyphPos& g) {
        return moved(g.glyph->getPixelBBox(), g.pos.x, g.pos.y);
    };

    // Acute accent: at the x of the base's bitmap, on the baseline.
    const std::wstring acute = L"xA\u0301";
    const auto accented = font.renderString(acute.begin(), acute.end(), nullptr);
    EXPECT_EQ(Point(pixelBox(accented[1]).x, 0), accented[2].pos);

    // KO KAI with SARA U below and MAI EK above, each one pixel apart from
    // the consonant and right-aligned with it.
    const std::wstring thai = L"x\u0E01\u0E38\u0E48";
    const auto placed = font.renderString(thai.begin(), thai.end(), nullptr);
    ASSERT_EQ(4u, placed.size());
    const Rect base = pixelBox(placed[1]);
    const Rect below = pixelBox(placed[2]);
    const Rect above = pixelBox(placed[3]);
    EXPECT_EQ(base.bottom() + 1, below.y);
    EXPECT_EQ(base.right(), below.right());
    EXPECT_EQ(base.y - 1, above.bottom());
    EXPECT_EQ(base.right(), above.right());
    EXPECT_EQ(placed[1].pos.x + placed[1].glyph->getAdvance(),
              font.getRawStringWidth(thai)) << "marks do not move the pen";

    // A second mark above stacks over the first one.
    const std::wstring stacked = L"\u0E01\u0E48\u0E4C";
    const auto two = font.renderString(stacked.begin(), stacked.end(), nullptr);
    EXPECT_EQ(pixelBox(two[1]).y - 1, pixelBox(two[2]).bottom());
}

// A font file that cannot be used is the device's set-up; a broken built-in
// image is the program's own fault.
TEST(FontTest, FontFilesThatCannotBeUsedAreSetupErrors)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string missing = c_fontDir + "/NoSuchFont.ttf";
    const std::string notAFont = c_dataDir + "/make-symbol-font.py";
    const std::string bitmap = c_dataDir + "/bitmap.bdf";
    const std::vector<char> garbage(1000, 'x');
    const std::vector<char> bdf = readFile(bitmap);
    const auto make = [](auto&&... args) {
        setFatalErrorHandler(printFatalMessage);
        FontFace f(args...);
    };
    expectSetupError([&] { make(missing, 16, 0); }, "FontFace\\(\"" + missing + "\"\\) file error");
    expectSetupError([&] { make(notAFont, 16, 0); },
                     "FontFace\\(\"" + notAFont + "\"\\) file error");
    expectSetupError([&] { make(bitmap, 12, 0); }, "FontFace\\(\"" + bitmap + "\"\\) size error");
    EXPECT_EXIT(make(static_cast<const void*>(garbage.data()), int(garbage.size()), 16, 0),
                ::testing::ExitedWithCode(1), "handled: FontFace\\(memory\\) memory error");
    EXPECT_EXIT(make(static_cast<const void*>(bdf.data()), int(bdf.size()), 12, 0),
                ::testing::ExitedWithCode(1), "handled: FontFace\\(memory\\) size error");
}

// Every thread opens its own faces of the same files and sizes (sharing the
// FreeType faces and sizes underneath) and renders the same characters; the
// FreeType lock must keep the shared glyph slots apart. Meant to be run
// under the thread sanitizer too.
TEST(FontTest, ConcurrentRenderingFromFourThreads)
{
    std::wstring text;
    for (wchar_t c = 0x21; c < 0x7F; ++c)
        text += c;
    text += L"\u0628\u062A\u062B\uFE91\uFE92\u3042\u3044";

    const auto makeFont = [](int size) {
        return fontOf({face("DroidSans.ttf", size), face("DroidSansArabic.ttf", size),
                       face("DroidSansJapanese.ttf", size)});
    };
    const auto renderAll = [](const Font& font, const std::wstring& chars) {
        std::vector<Graymap> bitmaps;
        for (wchar_t c : chars)
            bitmaps.push_back(font.getGlyph(c)->getBitmap());
        return bitmaps;
    };
    const Font reference = makeFont(18);
    const std::vector<Graymap> expected = renderAll(reference, text);

    std::vector<std::vector<Graymap>> results(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t]() {
            // A size of their own in between, created and dropped while the
            // others render.
            renderAll(makeFont(11 + t), text.substr(t * 10, 10));
            results[t] = renderAll(makeFont(18), text);
        });
    }
    for (std::thread& t : threads)
        t.join();
    for (int t = 0; t < 4; ++t) {
        ASSERT_EQ(expected.size(), results[t].size());
        for (size_t i = 0; i < text.size(); ++i)
            EXPECT_EQ(expected[i], results[t][i]) << "thread " << t << ", character " << i;
    }
}
