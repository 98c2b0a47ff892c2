#include "text/Glyph.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>

#include "core/FatalError.h"
#include "graphics/Pixmap.h"

using namespace OKU;

namespace {

const Color c_red(255, 0, 0);

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

// "red,green,blue,alpha" of one pixel, readable in failure messages.
std::string rgba(const Pixmap& p, int x, int y)
{
    const Pixmap::Pixel& px = p.getPixel(x, y);
    return std::to_string(px.red) + "," + std::to_string(px.green) + "," +
           std::to_string(px.blue) + "," + std::to_string(px.alpha);
}

// The bounding box of every pixel that is no longer white.
Rect inkBox(const Pixmap& p)
{
    const Pixmap::Pixel white{255, 255, 255, 255};
    Rect box;
    for (int y = 0; y < p.getHeight(); ++y) {
        for (int x = 0; x < p.getWidth(); ++x) {
            if (p.getPixel(x, y) != white)
                box.include(Rect(x, y, 1, 1));
        }
    }
    return box;
}

void printMessage(const char* message)
{
    fprintf(stderr, "fatal: %s\n", message);
}

} // namespace

TEST(GlyphTest, DefaultGlyphIsEmpty)
{
    const Glyph g;
    EXPECT_EQ(0, g.getAdvance());
    EXPECT_EQ(Rect(0, 0, 0, 0), g.getBBox());
    EXPECT_EQ(Rect(0, 0, 0, 0), g.getPixelBBox());
    EXPECT_TRUE(g.getBitmap().isEmpty());

    Pixmap p(2, 2, Color(255, 255, 255));
    p.drawGlyphAbs(1, 1, g, c_red);
    EXPECT_TRUE(inkBox(p).isEmpty());
}

TEST(GlyphTest, CopiesGrayRowsThroughThePitch)
{
    std::vector<unsigned char> down{1, 2, 3, 99, 4, 5, 6, 99};
    const FT_Bitmap bm = ftBitmap(3, 2, 4, down, 256);
    const Glyph g(7, 1, 9, 4, 8, -1, -9, &bm);
    EXPECT_EQ(7, g.getAdvance());
    EXPECT_EQ(Rect(1, 9, 4, 8), g.getBBox());
    EXPECT_EQ(Rect(-1, -9, 3, 2), g.getPixelBBox());
    EXPECT_EQ(-1, g.getLeft());
    EXPECT_EQ(-9, g.getTop());
    const Graymap& b = g.getBitmap();
    EXPECT_EQ(std::vector<unsigned char>({1, 2, 3, 4, 5, 6}),
              std::vector<unsigned char>(b.getPixels(), b.getPixels() + 6));
    EXPECT_FALSE(b.hasAlpha());

    // Rows stored bottom-up: the top row comes last in memory.
    std::vector<unsigned char> up{4, 5, 6, 99, 1, 2, 3, 99};
    const FT_Bitmap flipped = ftBitmap(3, 2, -4, up, 256);
    const Glyph h(0, 0, 0, 0, 0, 0, 0, &flipped);
    EXPECT_EQ(std::vector<unsigned char>({1, 2, 3, 4, 5, 6}),
              std::vector<unsigned char>(h.getBitmap().getPixels(), h.getBitmap().getPixels() + 6));
}

TEST(GlyphTest, ExpandsOneBitRowsMostSignificantFirst)
{
    std::vector<unsigned char> bits{0xA0, 0x40, 0x00, 0x80, 0xC0, 0x00};
    const FT_Bitmap bm = ftBitmap(10, 2, 3, bits, 0);
    const Glyph g(0, 0, 0, 0, 0, 0, 0, &bm);
    const unsigned char* row0 = g.getBitmap().getRow(0);
    const unsigned char* row1 = g.getBitmap().getRow(1);
    EXPECT_EQ(std::vector<unsigned char>({255, 0, 255, 0, 0, 0, 0, 0, 0, 255}),
              std::vector<unsigned char>(row0, row0 + 10));
    EXPECT_EQ(std::vector<unsigned char>({255, 0, 0, 0, 0, 0, 0, 0, 255, 255}),
              std::vector<unsigned char>(row1, row1 + 10));
}

TEST(GlyphTest, OtherGrayLevelCountsAreFatal)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::vector<unsigned char> bytes{0, 1, 2, 3};
    const FT_Bitmap bm = ftBitmap(2, 2, 2, bytes, 4);
    EXPECT_EXIT(
        {
            setFatalErrorHandler(printMessage);
            Glyph g(0, 0, 0, 0, 0, 0, 0, &bm);
        },
        ::testing::ExitedWithCode(1), "fatal: Glyph::Glyph: Unknown bm->num_grays \\(4\\)");
}

TEST(GlyphTest, WholeGlyphSkipsEmptyCoverageAndDrawsFullCoverageAtColourAlpha)
{
    const auto glyph = makeGlyph(0, 0, 1, -1, {0, 128, 255}, 3);
    Pixmap p(6, 3, Color(255, 255, 255));
    p.drawGlyphAbs(1, 2, *glyph, c_red);
    EXPECT_EQ("255,255,255,255", rgba(p, 2, 1));
    EXPECT_EQ("254,127,127,255", rgba(p, 3, 1));
    EXPECT_EQ("255,0,0,255", rgba(p, 4, 1));
    EXPECT_EQ(Rect(3, 1, 2, 1), inkBox(p));

    Pixmap a(3, 1, Color(10, 20, 30, 0));
    a.drawGlyphAbs(-1, 1, *glyph, c_red);
    EXPECT_EQ("10,20,30,0", rgba(a, 0, 0));
    EXPECT_EQ("255,0,0,255", rgba(a, 2, 0));
}

TEST(GlyphTest, CutGlyphScalesEveryCoverageValue)
{
    const auto glyph = makeGlyph(0, 0, 1, -1, {0, 128, 255}, 3);
    Pixmap p(6, 3, Color(255, 255, 255));
    p.setClipRectAbs(Rect(3, 0, 3, 3));
    p.drawGlyphAbs(1, 2, *glyph, c_red);
    EXPECT_EQ("255,255,255,255", rgba(p, 2, 1));
    EXPECT_EQ("254,127,127,255", rgba(p, 3, 1));
    EXPECT_EQ("254,0,0,255", rgba(p, 4, 1)) << "full coverage at alpha 255 * 255 / 256";

    Pixmap a(3, 1, Color(10, 20, 30, 0));
    a.setClipRectAbs(Rect(0, 0, 2, 1));
    a.drawGlyphAbs(-1, 1, *glyph, c_red);
    EXPECT_EQ("255,0,0,0", rgba(a, 0, 0)) << "empty coverage still blends at alpha 0";
    EXPECT_EQ("10,20,30,0", rgba(a, 2, 0));

    Pixmap missed(6, 3, Color(255, 255, 255));
    missed.setClipRectAbs(Rect(0, 0, 3, 3));
    missed.drawGlyphAbs(1, 2, *glyph, c_red);
    EXPECT_EQ("255,255,255,255", rgba(missed, 2, 1)) << "only empty coverage is inside";
    missed.drawGlyphAbs(1, 5, *glyph, c_red);
    EXPECT_TRUE(inkBox(missed).isEmpty());
}

TEST(GlyphTest, AlignmentPlacesTheBoxAtThePoint)
{
    // Box and bitmap coincide: 4 x 6 pixels, 5 of them above the baseline.
    const auto glyph = makeGlyph(1, 5, 1, -5, std::vector<unsigned char>(24, 255), 4);
    const auto drawnBox = [&glyph](HAlign h, VAlign v) {
        Pixmap p(20, 20, Color(255, 255, 255));
        p.setOffset(2, 3);
        p.drawGlyph(5, 5, glyph, Color(0, 0, 0), h, v);
        return inkBox(p);
    };
    EXPECT_EQ(Rect(7, 8, 4, 6), drawnBox(HAlign::LEFT, VAlign::TOP));
    EXPECT_EQ(Rect(5, 5, 4, 6), drawnBox(HAlign::CENTER, VAlign::CENTER));
    EXPECT_EQ(Rect(3, 2, 4, 6), drawnBox(HAlign::RIGHT, VAlign::BOTTOM));
    EXPECT_EQ(Rect(3, 3, 4, 6), drawnBox(HAlign::RIGHT, VAlign::BASELINE));

    Pixmap p(20, 20, Color(255, 255, 255));
    p.setOffset(2, 3);
    p.drawGlyph(5, 5, glyph, Color(0, 0, 0));
    EXPECT_EQ(Rect(8, 3, 4, 6), inkBox(p)) << "(x, y) is the pen on the baseline";

    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(p.drawGlyph(0, 0, glyph, c_red, HAlign::STRETCH, VAlign::TOP), "");
    EXPECT_DEATH(p.drawGlyph(0, 0, glyph, c_red, HAlign::LEFT, VAlign::STRETCH), "");
}

// Every coverage value, at glyph widths that are and are not multiples of the
// row group, whole and cut, against the per-pixel rule for a destination
// without alpha.
TEST(GlyphTest, OpaqueDestinationMatchesThePerPixelRuleForEveryCoverage)
{
    const auto expected = [](Pixmap::Pixel d, const Color& c, int a) {
        if (a >= 255)
            return Pixmap::Pixel{static_cast<uint8_t>(c.blue), static_cast<uint8_t>(c.green),
                                 static_cast<uint8_t>(c.red), 255};
        if (a > 0) {
            d.blue = static_cast<uint8_t>((a * c.blue + (255 - a) * d.blue) >> 8);
            d.green = static_cast<uint8_t>((a * c.green + (255 - a) * d.green) >> 8);
            d.red = static_cast<uint8_t>((a * c.red + (255 - a) * d.red) >> 8);
        }
        return d;
    };
    const Color background(200, 90, 17);
    for (const Color& c : {Color(0, 0, 0), Color(255, 128, 3, 255), Color(30, 250, 99, 77)}) {
        for (int width = 1; width <= 9; ++width) {
            std::vector<unsigned char> coverage(256 + (width - 256 % width) % width);
            for (size_t k = 0; k < coverage.size(); ++k)
                coverage[k] = static_cast<unsigned char>(k * 7 % 256);
            const auto glyph = makeGlyph(0, 0, 0, 0, coverage, width);
            const int rows = static_cast<int>(coverage.size()) / width;
            for (const bool cut : {false, true}) {
                Pixmap p(width + 2, rows, background);
                if (cut)
                    p.setClipRectAbs(Rect(1, 0, width + 1, rows - 1));
                p.drawGlyphAbs(1, 0, *glyph, c);
                for (int y = 0; y < rows; ++y) {
                    for (int x = 0; x < width + 2; ++x) {
                        Pixmap::Pixel want{17, 90, 200, 255};
                        const bool inside = x >= 1 && x <= width && (!cut || y < rows - 1);
                        if (inside) {
                            const int v = coverage[y * width + x - 1];
                            if (cut)
                                want = expected(want, c, c.alpha * v / 256);
                            else if (v != 0)
                                want = expected(want, c, v == 255 ? c.alpha : c.alpha * v / 256);
                        }
                        ASSERT_EQ(want, p.getPixel(x, y))
                            << "width " << width << (cut ? " cut" : " whole") << " at " << x
                            << "," << y << ": " << rgba(p, x, y);
                    }
                }
            }
        }
    }
}
