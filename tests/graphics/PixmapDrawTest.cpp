#include "graphics/Pixmap.h"

#include "graphics/PixelBlend.h"
#include "graphics/PixelTestUtil.h"

using namespace OKU;
using namespace GraphicsTest;

TEST(PixmapDrawTest, BlendRulesForEveryDrawingPath)
{
    // Without alpha: (a * s + (255 - a) * d) >> 8, opaque and clear sources
    // exact. With alpha: a transparent destination takes the source whole,
    // otherwise colours mix by alpha and alphas add up.
    const std::tuple<bool, Color, Color, const char*> cases[] = {
        {false, Color(10, 20, 30), Color(1, 2, 3, 255), "1,2,3,255"},
        {false, Color(10, 20, 30), Color(200, 100, 50, 0), "10,20,30,255"},
        {false, Color(10, 20, 30), Color(200, 100, 50, 100), "84,51,37,255"},
        {false, Color(10, 20, 30), Color(9, 8, 7, 1), "9,19,29,255"},
        {false, c_paper, Color(255, 255, 255, 128), "254,254,254,255"},
        {true, Color(10, 20, 30, 0), Color(200, 100, 50, 60), "200,100,50,60"},
        {true, Color(10, 20, 30, 0), Color(200, 100, 50, 0), "200,100,50,0"},
        {true, Color(0, 0, 0, 255), Color(255, 255, 255, 128), "128,128,128,255"},
        {true, Color(0, 0, 200, 50), Color(255, 0, 0, 100), "195,0,46,130"},
        {true, Color(0, 0, 200, 50), Color(255, 0, 0, 255), "255,0,0,255"},
        {true, Color(0, 0, 200, 50), Color(1, 2, 3, 0), "0,0,200,50"},
        {true, Color(50, 60, 70, 200), Color(200, 100, 50, 100), "117,78,60,221"},
    };
    for (const auto& [alpha, dst, src, expected] : cases) {
        Pixmap source(1, 1, true);
        setPixel(source, 0, 0, src);
        for (int path = 0; path < 5; ++path) {
            Pixmap p(2, 1, alpha);
            p.clear(dst);
            if (path == 0)
                p.drawPixel(1, 0, src);
            else if (path == 1)
                p.drawPixelNoClip(1, 0, pixel(src));
            else if (path == 2)
                p.drawPixmapNoClip(1, 0, source, 0, 0, 1, 1);
            else if (path == 3)
                p.drawSolidRect(1, 0, 1, 1, src);
            else
                p.drawVLine(1, 0, 1, src);
            EXPECT_EQ(expected, rgba(p, 1, 0))
                << rgba(pixel(src)) << " over " << rgba(pixel(dst)) << " by path " << path;
        }
    }
}

// Rows of several lengths from column 1 over pixels that differ in every
// channel: the vector path must blend each pixel as the per-pixel rule does,
// wherever it lies in the row.
TEST(PixmapDrawTest, TranslucentRowsBlendEveryChannelExactly)
{
    for (const Color& c :
         {Color(255, 255, 255, 254), Color(200, 100, 0, 128), Color(0, 255, 30, 1)})
        for (int width = 1; width <= 11; width += 5) {
            Pixmap p(13, 2, false);
            for (int x = 0; x < 13; ++x)
                for (int y = 0; y < 2; ++y)
                    p.getRow(y)[x] = pixel(x * x, 23 * x + y, 255 - 19 * x, 255);
            Pixmap expected = p;
            for (int x = 1; x <= width; ++x)
                blendOverOpaque(expected.getRow(1)[x], c.red, c.green, c.blue, c.alpha);
            p.drawSolidRect(1, 1, width, 1, c);
            EXPECT_EQ(pixels(expected), pixels(p)) << "width " << width;
        }
}

TEST(PixmapDrawTest, PixelsRectanglesAndRunsHonourOffsetAndClip)
{
    Pixmap p(6, 4, c_paper);
    p.setOffset(1, 1);
    p.setClipRectAbs(Rect(1, 0, 4, 3));
    p.drawPixel(-1, -1, c_ink);
    p.drawPixel(0, 0, c_ink);
    p.drawSolidRect(2, -5, 10, 6, c_ink);
    p.drawSolidRect(0, 1, 0, 5, c_ink);
    EXPECT_EQ("...##./.#.##./....../....../", letters(p));

    Pixmap runs(5, 4, c_paper);
    runs.setOffset(3, 3);
    runs.setClipRectAbs(Rect(1, 1, 3, 3));
    runs.drawHLine(-2, 1, 20, c_ink);
    runs.drawHLine(0, 0, 5, c_ink);
    runs.drawVLine(3, -1, 4, c_ink);
    runs.drawVLine(4, 0, 4, c_ink);
    EXPECT_EQ("...../.###./...#./...../", letters(runs));

    Pixmap q(3, 3, c_paper);
    q.drawHLineNoClip(0, 2, 3, c_ink);
    q.drawVLineNoClip(2, 0, 2, c_ink);
    EXPECT_EQ("..#/..#/###/", letters(q));
}

TEST(PixmapDrawTest, LinesFollowBresenhamAndIncludeBothEnds)
{
    Pixmap straight(5, 4, c_paper);
    straight.setOffset(1, 0);
    straight.drawLine(2, 0, -1, 0, c_ink);
    straight.drawLine(3, 3, 3, 1, c_ink);
    straight.drawLine(0, 2, 0, 2, c_ink);
    EXPECT_EQ("####./....#/.#..#/....#/", letters(straight));

    const std::tuple<int, int, int, int, int, int, const char*> sloped[] = {
        {6, 3, 5, 2, 0, 0, "##..../..##../....##/"},
        {5, 3, 0, 2, 4, 0, "...##/.##../#..../"},
        {2, 4, 1, 0, 0, 3, ".#/.#/#./#./"},
    };
    for (const auto& [w, h, x0, y0, x1, y1, expected] : sloped) {
        Pixmap p(w, h, c_paper);
        p.drawLine(x0, y0, x1, y1, c_ink);
        EXPECT_EQ(expected, letters(p)) << x0 << "," << y0 << " to " << x1 << "," << y1;
    }

    Pixmap clipped(6, 3, c_paper);
    clipped.setOffset(-2, 0);
    clipped.setClipRectAbs(Rect(0, 0, 2, 3));
    clipped.drawLine(2, 0, 7, 2, c_ink);
    EXPECT_EQ("##..../....../....../", letters(clipped));
}

TEST(PixmapDrawTest, HollowRectangleBorders)
{
    Pixmap p(8, 7, c_paper);
    p.drawHollowRect(1, 1, 6, 5, c_ink, 2);
    EXPECT_EQ("......../.######./.######./.##..##./.######./.######./......../", letters(p));

    Pixmap thin(4, 4, c_paper);
    thin.setOffset(-1, 0);
    thin.drawHollowRect(1, 0, 4, 4, c_ink, 1);
    thin.drawHollowRect(1, 0, 0, 4, c_paper, 1);
    thin.drawHollowRect(1, 0, 4, 4, c_paper, 0);
    EXPECT_EQ("####/#..#/#..#/####/", letters(thin));

    Pixmap thick(4, 3, c_paper);
    thick.drawHollowRect(0, 0, 4, 3, Color(0, 0, 0, 128), 5);
    EXPECT_EQ("126,126,126,255", rgba(thick, 0, 0));
    EXPECT_EQ("126,126,126,255", rgba(thick, 2, 2));
    EXPECT_EQ("62,62,62,255", rgba(thick, 1, 1)) << "the middle row is drawn from both sides";
}

TEST(PixmapDrawTest, GradientsSpanTheUnclippedRectangle)
{
    // One pixel along the gradient takes the first colour; a clip cuts the
    // steps of the whole rectangle.
    Pixmap v(3, 6, false);
    v.drawVerticalGradient(Rect(0, 1, 1, 5), Color(0, 0, 0), Color(200, 100, 40));
    v.drawVerticalGradient(Rect(1, 0, 1, 1), Color(9, 8, 7), Color(1, 2, 3));
    v.setOffset(0, 1);
    v.setClipRectAbs(Rect(2, 3, 1, 2));
    v.drawVerticalGradient(Rect(2, 0, 1, 5), Color(0, 0, 0), Color(200, 100, 40));
    EXPECT_EQ("0,0,0,255 9,8,7,255 0,0,0,255/0,0,0,255 0,0,0,255 0,0,0,255/"
              "50,25,10,255 0,0,0,255 0,0,0,255/100,50,20,255 0,0,0,255 100,50,20,255/"
              "150,75,30,255 0,0,0,255 150,75,30,255/200,100,40,255 0,0,0,255 0,0,0,255/",
              pixels(v));

    Pixmap h(5, 2, true);
    h.setClipRectAbs(Rect(3, 0, 2, 1));
    h.drawHorizontalGradient(Rect(0, 0, 5, 1), Color(0, 0, 0, 0), Color(100, 40, 80, 200));
    h.unsetClipRect();
    h.drawHorizontalGradient(Rect(0, 1, 1, 1), Color(4, 5, 6), Color(1, 2, 3));
    EXPECT_EQ("0,0,0,0 0,0,0,0 0,0,0,0 75,30,60,150 100,40,80,200/"
              "4,5,6,255 0,0,0,0 0,0,0,0 0,0,0,0 0,0,0,0/",
              pixels(h));
}

TEST(PixmapDrawTest, MidpointCirclesAndRoundedRectangles)
{
    Pixmap hollow(7, 7, c_paper);
    hollow.setOffset(1, 1);
    hollow.drawHollowCircle(2, 2, 2, c_ink);
    EXPECT_EQ("......./..###../.#...#./.#...#./.#...#./..###../......./", letters(hollow));
    Pixmap solid(7, 7, c_paper);
    solid.drawSolidCircle(3, 3, 3, c_ink);
    EXPECT_EQ("..###../.#####./#######/#######/#######/.#####./..###../", letters(solid));

    Pixmap clipped(5, 5, c_paper);
    clipped.setClipRectAbs(Rect(0, 0, 5, 2));
    clipped.drawSolidCircle(2, 2, 2, c_ink);
    clipped.drawHollowCircle(2, 2, 2, c_paper);
    EXPECT_EQ("...../.###./...../...../...../", letters(clipped));
    Pixmap dot(3, 3, c_paper);
    dot.drawSolidCircle(1, 1, 0, c_ink);
    EXPECT_EQ(".../.#./.../", letters(dot));

    Pixmap rounded(12, 9, c_paper);
    rounded.setOffset(1, 1);
    rounded.drawSolidRoundedRect(0, 0, 10, 8, 3, c_ink);
    EXPECT_EQ("............/...######.../..########../.##########./.##########./"
              ".##########./.##########./..########../...######.../",
              letters(rounded));
    Pixmap narrow(4, 7, c_paper);
    narrow.drawSolidRoundedRect(0, 0, 4, 7, 9, c_ink);
    EXPECT_EQ(".##./####/####/####/####/####/.##./", letters(narrow));
    Pixmap square(3, 2, c_paper);
    square.drawSolidRoundedRect(0, 0, 3, 2, 0, c_ink);
    square.drawSolidRoundedRect(0, 0, 3, 0, 1, c_paper);
    EXPECT_EQ("###/###/", letters(square));
}
