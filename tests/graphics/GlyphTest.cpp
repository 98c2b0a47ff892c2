#include "text/Glyph.h"

#include <memory>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "core/FatalError.h"
#include "core/TempDir.h"
#include "graphics/PixelTestUtil.h"

using namespace OKU;
using namespace GraphicsTest;

namespace {

// A FreeType bitmap over rows of bytes laid out with the given pitch.
FT_Bitmap ftBitmap(int width, int rows, int pitch, std::vector<unsigned char>& bytes, int grays)
{
    FT_Bitmap bm{};
    bm.width = width;
    bm.rows = rows;
    bm.pitch = pitch;
    bm.buffer = bytes.data();
    bm.num_grays = static_cast<unsigned short>(grays);
    bm.pixel_mode = grays == 256 ? FT_PIXEL_MODE_GRAY : FT_PIXEL_MODE_MONO;
    return bm;
}

std::shared_ptr<const Glyph> makeGlyph(int boxX, int boxY, int left, int top,
                                       std::vector<unsigned char> coverage, int width)
{
    const int rows = static_cast<int>(coverage.size()) / width;
    const FT_Bitmap bm = ftBitmap(width, rows, width, coverage, 256);
    return std::make_shared<const Glyph>(width + 1, boxX, boxY, width, rows, left, top, &bm);
}

} // namespace

TEST(GlyphTest, BitmapsAreCopiedThroughThePitchAndOneBitRowsExpanded)
{
    Pixmap p(2, 2, c_paper);
    p.drawGlyphAbs(1, 1, Glyph(), c_red);
    EXPECT_TRUE(inkBox(p).isEmpty());

    std::vector<unsigned char> down{1, 2, 3, 99, 4, 5, 6, 99};
    const FT_Bitmap bm = ftBitmap(3, 2, 4, down, 256);
    const Glyph g(7, 1, 9, 4, 8, -1, -9, &bm);
    EXPECT_EQ(std::make_tuple(7, Rect(1, 9, 4, 8), Rect(-1, -9, 3, 2), Point(-1, -9)),
              std::make_tuple(g.getAdvance(), g.getBBox(), g.getPixelBBox(),
                              Point(g.getLeft(), g.getTop())));
    EXPECT_EQ(Rows({{1, 2, 3}, {4, 5, 6}}), rowsOf(g.getBitmap()));
    EXPECT_FALSE(g.getBitmap().hasAlpha());

    // Rows stored bottom-up: the top row comes last in memory.
    std::vector<unsigned char> up{4, 5, 6, 99, 1, 2, 3, 99};
    const FT_Bitmap flipped = ftBitmap(3, 2, -4, up, 256);
    EXPECT_EQ(Rows({{1, 2, 3}, {4, 5, 6}}),
              rowsOf(Glyph(0, 0, 0, 0, 0, 0, 0, &flipped).getBitmap()));

    // One bit per pixel, most significant first.
    std::vector<unsigned char> bits{0xA0, 0x40, 0x00, 0x80, 0xC0, 0x00};
    const FT_Bitmap mono = ftBitmap(10, 2, 3, bits, 0);
    EXPECT_EQ(Rows({{255, 0, 255, 0, 0, 0, 0, 0, 0, 255}, {255, 0, 0, 0, 0, 0, 0, 0, 255, 255}}),
              rowsOf(Glyph(0, 0, 0, 0, 0, 0, 0, &mono).getBitmap()));
}

TEST(GlyphTest, OtherGrayLevelCountsAreFatal)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::vector<unsigned char> bytes{0, 1, 2, 3};
    const FT_Bitmap bm = ftBitmap(2, 2, 2, bytes, 4);
    EXPECT_EXIT((setFatalErrorHandler(printFatalMessage), Glyph(0, 0, 0, 0, 0, 0, 0, &bm)),
                ::testing::ExitedWithCode(1),
                "handled: Glyph::Glyph: Unknown bm->num_grays \\(4\\)");
}

// A whole glyph skips empty coverage and draws full coverage at the colour's
// alpha; a cut one blends every coverage value, full coverage at alpha
// 255 * 255 / 256 and empty coverage at alpha 0.
TEST(GlyphTest, WholeAndCutGlyphsBlendTheirCoverage)
{
    // Two rows; the pixels checked are those of the first.
    const auto glyph = makeGlyph(0, 0, 1, -1, {0, 128, 255, 255, 255, 255}, 3);
    // expected: the three pixels under the glyph
    const std::tuple<Color, Rect, const char*> cases[] = {
        {c_paper, Rect(0, 0, 6, 3), "255,255,255,255 254,127,127,255 255,0,0,255"},
        {c_paper, Rect(3, 0, 3, 3), "255,255,255,255 254,127,127,255 254,0,0,255"},
        {c_paper, Rect(0, 0, 6, 2), "255,255,255,255 254,127,127,255 254,0,0,255"},
        {c_paper, Rect(0, 0, 3, 3), "255,255,255,255 255,255,255,255 255,255,255,255"},
        {Color(10, 20, 30, 0), Rect(0, 0, 6, 3), "10,20,30,0 255,0,0,127 255,0,0,255"},
        {Color(10, 20, 30, 0), Rect(0, 0, 3, 3), "255,0,0,0 10,20,30,0 10,20,30,0"},
    };
    for (const auto& [background, clip, expected] : cases) {
        Pixmap p(6, 3, background);
        p.setClipRectAbs(clip);
        p.drawGlyphAbs(1, 2, *glyph, c_red);
        EXPECT_EQ(expected, rgba(p, 2, 1) + " " + rgba(p, 3, 1) + " " + rgba(p, 4, 1))
            << clip.x << "," << clip.y << " " << clip.width << "x" << clip.height;
    }
    Pixmap missed(6, 3, c_paper);
    missed.drawGlyphAbs(1, 5, *glyph, c_red);
    EXPECT_TRUE(inkBox(missed).isEmpty());
}

TEST(GlyphTest, AlignmentPlacesTheBoxAtThePoint)
{
    // Box and bitmap coincide: 4 x 6 pixels, 5 of them above the baseline.
    const auto glyph = makeGlyph(1, 5, 1, -5, std::vector<unsigned char>(24, 255), 4);
    const auto drawnBox = [&glyph](HAlign h, VAlign v) {
        Pixmap p(20, 20, c_paper);
        p.setOffset(2, 3);
        p.drawGlyph(5, 5, glyph, Color(0, 0, 0), h, v);
        return inkBox(p);
    };
    EXPECT_EQ(Rect(7, 8, 4, 6), drawnBox(HAlign::LEFT, VAlign::TOP));
    EXPECT_EQ(Rect(5, 5, 4, 6), drawnBox(HAlign::CENTER, VAlign::CENTER));
    EXPECT_EQ(Rect(3, 2, 4, 6), drawnBox(HAlign::RIGHT, VAlign::BOTTOM));
    EXPECT_EQ(Rect(3, 3, 4, 6), drawnBox(HAlign::RIGHT, VAlign::BASELINE));

    Pixmap p(20, 20, c_paper);
    p.setOffset(2, 3);
    p.drawGlyph(5, 5, glyph, Color(0, 0, 0));
    EXPECT_EQ(Rect(8, 3, 4, 6), inkBox(p)) << "(x, y) is the pen on the baseline";

    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(p.drawGlyph(0, 0, glyph, c_red, HAlign::STRETCH, VAlign::TOP), "");
    EXPECT_DEATH(p.drawGlyph(0, 0, glyph, c_red, HAlign::LEFT, VAlign::STRETCH), "");
}
