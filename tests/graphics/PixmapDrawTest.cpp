#include "graphics/Pixmap.h"

#include <string>

#include <gtest/gtest.h>

using namespace OKU;

namespace {

const Color c_white(255, 255, 255);
const Color c_ink(0, 0, 0);

// "red,green,blue,alpha" of one pixel, readable in failure messages.
std::string rgba(const Pixmap& p, int x, int y)
{
    const Pixmap::Pixel& px = p.getPixel(x, y);
    return std::to_string(px.red) + "," + std::to_string(px.green) + "," +
           std::to_string(px.blue) + "," + std::to_string(px.alpha);
}

// The image as rows of '#' (pure black) and '.' (anything else).
std::string render(const Pixmap& p)
{
    std::string s;
    for (int y = 0; y < p.getHeight(); ++y) {
        for (int x = 0; x < p.getWidth(); ++x) {
            const Pixmap::Pixel& px = p.getPixel(x, y);
            s += px.red == 0 && px.green == 0 && px.blue == 0 ? '#' : '.';
        }
        s += '\n';
    }
    return s;
}

Pixmap paper(int w, int h)
{
    return Pixmap(w, h, c_white);
}

} // namespace

TEST(PixmapDrawTest, BlendIntoPixmapWithoutAlpha)
{
    Pixmap p(4, 1, Color(10, 20, 30));
    p.drawPixel(0, 0, Color(1, 2, 3, 255));
    EXPECT_EQ("1,2,3,255", rgba(p, 0, 0));
    p.drawPixel(1, 0, Color(200, 100, 50, 0));
    EXPECT_EQ("10,20,30,255", rgba(p, 1, 0));
    p.drawPixel(2, 0, Color(200, 100, 50, 100));
    EXPECT_EQ("84,51,37,255", rgba(p, 2, 0));

    Pixmap white = paper(1, 1);
    white.drawPixel(0, 0, Color(255, 255, 255, 128));
    EXPECT_EQ("254,254,254,255", rgba(white, 0, 0));
}

TEST(PixmapDrawTest, BlendIntoPixmapWithAlpha)
{
    Pixmap p(5, 1, Color(10, 20, 30, 0));
    p.drawPixel(0, 0, Color(200, 100, 50, 60));
    EXPECT_EQ("200,100,50,60", rgba(p, 0, 0)) << "a transparent pixel takes the colour";
    p.drawPixel(1, 0, Color(200, 100, 50, 0));
    EXPECT_EQ("200,100,50,0", rgba(p, 1, 0)) << "even one of alpha 0";

    p.clear(Color(0, 0, 0, 255));
    p.drawPixel(0, 0, Color(255, 255, 255, 128));
    EXPECT_EQ("128,128,128,255", rgba(p, 0, 0));
    p.drawPixel(1, 0, Color(200, 100, 50, 0));
    EXPECT_EQ("0,0,0,255", rgba(p, 1, 0));

    p.clear(Color(0, 0, 200, 50));
    p.drawPixel(0, 0, Color(255, 0, 0, 100));
    EXPECT_EQ("195,0,46,130", rgba(p, 0, 0));
    p.drawPixel(1, 0, Color(255, 0, 0, 255));
    EXPECT_EQ("255,0,0,255", rgba(p, 1, 0));
}

TEST(PixmapDrawTest, PixelBlendCopiesWholeSourcePixel)
{
    const Pixmap::Pixel opaque{1, 2, 3, 255};
    const Pixmap::Pixel clear{1, 2, 3, 0};
    const Pixmap::Pixel half{0, 0, 255, 100}; // red at alpha 100

    Pixmap p(3, 1, Color(10, 20, 30));
    p.drawPixelNoClip(0, 0, opaque);
    p.drawPixelNoClip(1, 0, clear);
    p.drawPixelNoClip(2, 0, half);
    EXPECT_EQ("3,2,1,255", rgba(p, 0, 0));
    EXPECT_EQ("10,20,30,255", rgba(p, 1, 0));
    EXPECT_EQ("105,12,18,255", rgba(p, 2, 0));

    Pixmap a(3, 1, Color(0, 0, 200, 0));
    a.drawPixelNoClip(0, 0, clear);
    EXPECT_EQ("3,2,1,0", rgba(a, 0, 0));
    a.clear(Color(0, 0, 200, 50));
    a.drawPixelNoClip(0, 0, clear);
    a.drawPixelNoClip(1, 0, half);
    EXPECT_EQ("0,0,200,50", rgba(a, 0, 0));
    EXPECT_EQ("195,0,46,130", rgba(a, 1, 0));
}

TEST(PixmapDrawTest, PixelAndRectangleHonourOffsetAndClip)
{
    Pixmap p = paper(6, 4);
    p.setOffset(1, 1);
    p.setClipRectAbs(Rect(1, 0, 4, 3));
    p.drawPixel(-1, -1, c_ink);
    p.drawPixel(0, 0, c_ink);
    p.drawSolidRect(2, -5, 10, 6, c_ink);
    p.drawSolidRect(0, 1, 0, 5, c_ink);
    EXPECT_EQ("...##.\n"
              ".#.##.\n"
              "......\n"
              "......\n",
              render(p));
}

TEST(PixmapDrawTest, TranslucentRectangleBlendsEveryPixel)
{
    Pixmap p = paper(3, 2);
    p.drawSolidRect(0, 0, 2, 2, Color(0, 0, 0, 128));
    EXPECT_EQ("126,126,126,255", rgba(p, 0, 0));
    EXPECT_EQ("126,126,126,255", rgba(p, 1, 1));
    EXPECT_EQ("255,255,255,255", rgba(p, 2, 0));
}

TEST(PixmapDrawTest, TranslucentRowsBlendEveryChannelExactly)
{
    // Rows of several lengths from column 1, over pixels that differ in
    // every channel, with the extreme alphas and channels: each pixel must
    // be (a * s + (255 - a) * d) >> 8, wherever it lies in the row.
    const Color colors[] = {Color(255, 255, 255, 254), Color(200, 100, 0, 128),
                            Color(0, 255, 30, 1)};
    for (const Color& c : colors)
        for (int width = 1; width <= 11; width += 5) {
            Pixmap p(13, 2, false);
            for (int x = 0; x < 13; ++x)
                for (int y = 0; y < 2; ++y)
                    p.getRow(y)[x] = Pixmap::Pixel{static_cast<uint8_t>(255 - 19 * x),
                                                   static_cast<uint8_t>(23 * x + y),
                                                   static_cast<uint8_t>(x * x), 255};
            const Pixmap before = p;
            p.drawSolidRect(1, 1, width, 1, c);
            for (int x = 0; x < 13; ++x) {
                const Pixmap::Pixel& d = before.getPixel(x, 1);
                const auto mix = [&c](int s, int dst) {
                    return std::to_string((c.alpha * s + (255 - c.alpha) * dst) >> 8);
                };
                const std::string expected =
                    x >= 1 && x <= width ? mix(c.red, d.red) + "," + mix(c.green, d.green) + "," +
                                               mix(c.blue, d.blue) + ",255"
                                         : rgba(before, x, 1);
                ASSERT_EQ(expected, rgba(p, x, 1)) << "width " << width << " at " << x;
                ASSERT_EQ(rgba(before, x, 0), rgba(p, x, 0));
            }
        }
}

TEST(PixmapDrawTest, RunsClipInAbsoluteCoordinates)
{
    Pixmap p = paper(5, 4);
    p.setOffset(3, 3);
    p.setClipRectAbs(Rect(1, 1, 3, 3));
    p.drawHLine(-2, 1, 20, c_ink);
    p.drawHLine(0, 0, 5, c_ink);
    p.drawVLine(3, -1, 4, c_ink);
    p.drawVLine(4, 0, 4, c_ink);
    EXPECT_EQ(".....\n"
              ".###.\n"
              "...#.\n"
              ".....\n",
              render(p));

    Pixmap q = paper(3, 3);
    q.drawHLineNoClip(0, 2, 3, c_ink);
    q.drawVLineNoClip(2, 0, 2, c_ink);
    EXPECT_EQ("..#\n"
              "..#\n"
              "###\n",
              render(q));
}

TEST(PixmapDrawTest, StraightLinesIncludeBothEnds)
{
    Pixmap p = paper(5, 4);
    p.setOffset(1, 0);
    p.drawLine(2, 0, -1, 0, c_ink);
    p.drawLine(3, 3, 3, 1, c_ink);
    p.drawLine(0, 2, 0, 2, c_ink);
    EXPECT_EQ("####.\n"
              "....#\n"
              ".#..#\n"
              "....#\n",
              render(p));
}

TEST(PixmapDrawTest, SlopedLinesFollowBresenham)
{
    Pixmap shallow = paper(6, 3);
    shallow.drawLine(5, 2, 0, 0, c_ink);
    EXPECT_EQ("##....\n"
              "..##..\n"
              "....##\n",
              render(shallow));

    Pixmap falling = paper(5, 3);
    falling.drawLine(0, 2, 4, 0, c_ink);
    EXPECT_EQ("...##\n"
              ".##..\n"
              "#....\n",
              render(falling));

    Pixmap steep = paper(2, 4);
    steep.drawLine(1, 0, 0, 3, c_ink);
    EXPECT_EQ(".#\n"
              ".#\n"
              "#.\n"
              "#.\n",
              render(steep));

    Pixmap clipped = paper(6, 3);
    clipped.setOffset(-2, 0);
    clipped.setClipRectAbs(Rect(0, 0, 2, 3));
    clipped.drawLine(2, 0, 7, 2, c_ink);
    EXPECT_EQ("##....\n"
              "......\n"
              "......\n",
              render(clipped));
}

TEST(PixmapDrawTest, HollowRectangleBorders)
{
    Pixmap p = paper(8, 7);
    p.drawHollowRect(1, 1, 6, 5, c_ink, 2);
    EXPECT_EQ("........\n"
              ".######.\n"
              ".######.\n"
              ".##..##.\n"
              ".######.\n"
              ".######.\n"
              "........\n",
              render(p));

    Pixmap thin = paper(4, 4);
    thin.setOffset(-1, 0);
    thin.drawHollowRect(1, 0, 4, 4, c_ink, 1);
    thin.drawHollowRect(1, 0, 0, 4, c_white, 1);
    thin.drawHollowRect(1, 0, 4, 4, c_white, 0);
    EXPECT_EQ("####\n"
              "#..#\n"
              "#..#\n"
              "####\n",
              render(thin));

    Pixmap thick = paper(4, 3);
    thick.drawHollowRect(0, 0, 4, 3, Color(0, 0, 0, 128), 5);
    EXPECT_EQ("126,126,126,255", rgba(thick, 0, 0));
    EXPECT_EQ("126,126,126,255", rgba(thick, 2, 2));
    EXPECT_EQ("62,62,62,255", rgba(thick, 1, 1)) << "the middle row is drawn from both sides";
}

TEST(PixmapDrawTest, GradientsSpanTheUnclippedRectangle)
{
    const Color from(0, 0, 0);
    const Color to(200, 100, 40);
    Pixmap v(2, 6, false);
    v.drawVerticalGradient(Rect(0, 1, 1, 5), from, to);
    EXPECT_EQ("0,0,0,255", rgba(v, 0, 1));
    EXPECT_EQ("50,25,10,255", rgba(v, 0, 2));
    EXPECT_EQ("150,75,30,255", rgba(v, 0, 4));
    EXPECT_EQ("200,100,40,255", rgba(v, 0, 5));

    Pixmap clipped(2, 6, false);
    clipped.setOffset(0, 1);
    clipped.setClipRectAbs(Rect(0, 3, 2, 2));
    clipped.drawVerticalGradient(Rect(0, 0, 2, 5), from, to);
    EXPECT_EQ("0,0,0,255", rgba(clipped, 0, 2));
    EXPECT_EQ("100,50,20,255", rgba(clipped, 1, 3));
    EXPECT_EQ("150,75,30,255", rgba(clipped, 0, 4));
    EXPECT_EQ("0,0,0,255", rgba(clipped, 0, 5));

    Pixmap h(5, 1, true);
    h.setClipRectAbs(Rect(3, 0, 2, 1));
    h.drawHorizontalGradient(Rect(0, 0, 5, 1), Color(0, 0, 0, 0), Color(100, 40, 80, 200));
    EXPECT_EQ("0,0,0,0", rgba(h, 2, 0));
    EXPECT_EQ("75,30,60,150", rgba(h, 3, 0));
    EXPECT_EQ("100,40,80,200", rgba(h, 4, 0));
}

TEST(PixmapDrawTest, OnePixelGradientTakesTheFirstColour)
{
    Pixmap p(2, 2, false);
    p.drawVerticalGradient(Rect(0, 0, 1, 1), Color(9, 8, 7), Color(1, 2, 3));
    p.drawHorizontalGradient(Rect(1, 0, 1, 2), Color(4, 5, 6), Color(1, 2, 3));
    EXPECT_EQ("9,8,7,255", rgba(p, 0, 0));
    EXPECT_EQ("4,5,6,255", rgba(p, 1, 0));
    EXPECT_EQ("4,5,6,255", rgba(p, 1, 1));
}

TEST(PixmapDrawTest, MidpointCircles)
{
    Pixmap hollow = paper(7, 7);
    hollow.setOffset(1, 1);
    hollow.drawHollowCircle(2, 2, 2, c_ink);
    EXPECT_EQ(".......\n"
              "..###..\n"
              ".#...#.\n"
              ".#...#.\n"
              ".#...#.\n"
              "..###..\n"
              ".......\n",
              render(hollow));

    Pixmap solid = paper(7, 7);
    solid.drawSolidCircle(3, 3, 3, c_ink);
    EXPECT_EQ("..###..\n"
              ".#####.\n"
              "#######\n"
              "#######\n"
              "#######\n"
              ".#####.\n"
              "..###..\n",
              render(solid));

    Pixmap clipped = paper(5, 5);
    clipped.setClipRectAbs(Rect(0, 0, 5, 2));
    clipped.drawSolidCircle(2, 2, 2, c_ink);
    clipped.drawHollowCircle(2, 2, 2, c_white);
    EXPECT_EQ(".....\n"
              ".###.\n"
              ".....\n"
              ".....\n"
              ".....\n",
              render(clipped));

    Pixmap dot = paper(3, 3);
    dot.drawSolidCircle(1, 1, 0, c_ink);
    EXPECT_EQ("...\n"
              ".#.\n"
              "...\n",
              render(dot));
}

TEST(PixmapDrawTest, RoundedRectangles)
{
    Pixmap p = paper(12, 9);
    p.setOffset(1, 1);
    p.drawSolidRoundedRect(0, 0, 10, 8, 3, c_ink);
    EXPECT_EQ("............\n"
              "...######...\n"
              "..########..\n"
              ".##########.\n"
              ".##########.\n"
              ".##########.\n"
              ".##########.\n"
              "..########..\n"
              "...######...\n",
              render(p));

    Pixmap narrow = paper(4, 7);
    narrow.drawSolidRoundedRect(0, 0, 4, 7, 9, c_ink);
    EXPECT_EQ(".##.\n"
              "####\n"
              "####\n"
              "####\n"
              "####\n"
              "####\n"
              ".##.\n",
              render(narrow));

    Pixmap square = paper(3, 2);
    square.drawSolidRoundedRect(0, 0, 3, 2, 0, c_ink);
    square.drawSolidRoundedRect(0, 0, 3, 0, 1, c_white);
    EXPECT_EQ("###\n"
              "###\n",
              render(square));
}
