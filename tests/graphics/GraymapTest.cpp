#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "graphics/Graymap.h"
#include "graphics/Pixmap.h"

using OKU::Graymap;

namespace {

typedef std::set<std::pair<int, int>> PixelSet;

// The pixels of map holding value.
PixelSet pixelsWith(const Graymap& map, int value)
{
    PixelSet pixels;
    for (int y = 0; y < map.getHeight(); ++y) {
        for (int x = 0; x < map.getWidth(); ++x) {
            if (map.getRow(y)[x] == value)
                pixels.insert({x, y});
        }
    }
    return pixels;
}

PixelSet lineOn(int width, int height, int x0, int y0, int x1, int y1)
{
    Graymap map(width, height, false);
    map.clear(0);
    map.drawLine(x0, y0, x1, y1, 9);
    return pixelsWith(map, 9);
}

} // namespace

TEST(GraymapTest, ConstructionCopyMoveAndResize)
{
    Graymap empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.hasAlpha());
    EXPECT_EQ(nullptr, empty.getPixels());

    Graymap map(3, 2, true);
    ASSERT_TRUE(map.hasAlpha());
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(255, map.getAlphaRow(y)[x]);
    }
    map.clear(7);
    map.getRow(1)[2] = 8;
    map.getAlphaRow(0)[1] = 3;

    Graymap copy(map);
    EXPECT_EQ(map, copy);
    copy.getAlphaRow(0)[1] = 4;
    EXPECT_NE(map, copy);
    EXPECT_EQ(3, map.getAlphaRow(0)[1]);

    Graymap moved(std::move(copy));
    EXPECT_TRUE(copy.isEmpty());
    EXPECT_EQ(3, moved.getWidth());
    EXPECT_EQ(4, moved.getAlphaRow(0)[1]);

    // Same size: only the presence of alpha changes, the values stay.
    moved.resize(3, 2, false);
    EXPECT_FALSE(moved.hasAlpha());
    EXPECT_EQ(8, moved.getRow(1)[2]);
    moved.resize(5, 4);
    EXPECT_EQ(5, moved.getWidth());
    EXPECT_EQ(4, moved.getHeight());
    EXPECT_FALSE(moved.hasAlpha());
    moved.setAlpha();
    EXPECT_EQ(255, moved.getAlphaRow(3)[4]);
    moved.clearAlpha();
    EXPECT_EQ(nullptr, moved.getAlpha());

    Graymap negative(-2, 3, false);
    EXPECT_EQ(0, negative.getWidth());
    EXPECT_TRUE(negative.isEmpty());
}

TEST(GraymapTest, FromPixmapInvertsWeightedGray)
{
    OKU::Pixmap pixmap(3, 1, OKU::Color(0, 0, 0, 100));
    pixmap.getRow(0)[0] = {30, 20, 10, 100}; // blue, green, red, alpha
    pixmap.getRow(0)[1] = {3, 0, 0, 0};      // 3 >> 2 is 0: still full ink
    pixmap.getRow(0)[2] = {255, 255, 255, 255};
    const Graymap map(pixmap);
    ASSERT_TRUE(map.hasAlpha());
    EXPECT_EQ(255 - (30 + 40 + 10) / 4, map.getRow(0)[0]);
    EXPECT_EQ(255, map.getRow(0)[1]);
    EXPECT_EQ(0, map.getRow(0)[2]);
    EXPECT_EQ(100, map.getAlphaRow(0)[0]);
    EXPECT_EQ(0, map.getAlphaRow(0)[1]);

    EXPECT_FALSE(Graymap(OKU::Pixmap(2, 2, false)).hasAlpha());
}

TEST(GraymapTest, SpansAndRectanglesClipToTheMap)
{
    Graymap map(4, 3, false);
    map.clear(0);
    map.drawHLine(-2, 0, 4, 1);        // x 0..1
    map.drawVLine(3, -5, 100, 2);      // whole column 3
    map.drawSolidRect(1, 1, 10, 10, 3); // x 1..3, y 1..2 over the column
    map.drawHLine(0, 3, 4, 4);         // below the map
    map.drawSolidRect(0, 0, 0, 3, 4);  // empty
    const std::vector<std::vector<int>> expected = {{1, 1, 0, 2}, {0, 3, 3, 3}, {0, 3, 3, 3}};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(expected[y][x], map.getRow(y)[x]) << x << "," << y;
    }
}

TEST(GraymapTest, BlitsClipOnAllSides)
{
    Graymap src(3, 3, true);
    for (int i = 0; i < 9; ++i)
        src.getPixels()[i] = static_cast<unsigned char>(i % 2 ? 10 + i : 0);
    src.getAlpha()[0] = 0;

    Graymap dst(4, 4, false);
    dst.clear(99);
    dst.drawGraymap(-1, 2, src); // only src (1..2, 0..1) lands, at (0..1, 2..3)
    EXPECT_EQ(11, dst.getRow(2)[0]);
    EXPECT_EQ(0, dst.getRow(2)[1]);
    EXPECT_EQ(0, dst.getRow(3)[0]);
    EXPECT_EQ(15, dst.getRow(3)[1]);
    EXPECT_EQ(99, dst.getRow(2)[2]);
    EXPECT_EQ(99, dst.getRow(1)[0]);

    dst.clear(99);
    dst.drawDuotoneGraymap(2, -1, src, 200, 50); // src (0..1, 1..2) at (2..3, 0..1)
    EXPECT_EQ(200, dst.getRow(0)[2]);
    EXPECT_EQ(50, dst.getRow(0)[3]);
    EXPECT_EQ(50, dst.getRow(1)[2]);
    EXPECT_EQ(200, dst.getRow(1)[3]);
    EXPECT_EQ(99, dst.getRow(2)[2]);
    EXPECT_EQ(99, dst.getRow(0)[1]);

    dst.clear(99);
    dst.drawGraymap(4, 0, src);
    dst.drawGraymap(-3, -3, src);
    EXPECT_EQ(16u, pixelsWith(dst, 99).size());
}

TEST(GraymapTest, LinesFollowBresenham)
{
    const PixelSet shallow = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}};
    EXPECT_EQ(shallow, lineOn(8, 8, 0, 0, 5, 2));
    EXPECT_EQ(shallow, lineOn(8, 8, 5, 2, 0, 0));
    EXPECT_EQ(PixelSet({{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}}), lineOn(8, 8, 2, 5, 0, 0));
    EXPECT_EQ(PixelSet({{0, 2}, {1, 2}, {2, 1}, {3, 1}, {4, 0}, {5, 0}}), lineOn(8, 8, 0, 2, 5, 0));
    // An error of exactly 0 moves the minor coordinate.
    EXPECT_EQ(PixelSet({{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}), lineOn(8, 8, 0, 0, 4, 2));
    EXPECT_EQ(PixelSet({{0, 0}, {1, 1}, {2, 2}}), lineOn(8, 8, 2, 2, 0, 0));
    EXPECT_EQ(PixelSet({{1, 3}, {2, 3}, {3, 3}}), lineOn(8, 8, 3, 3, 1, 3));
    EXPECT_EQ(PixelSet({{4, 1}, {4, 2}}), lineOn(8, 8, 4, 2, 4, 1));
    EXPECT_EQ(PixelSet({{6, 6}}), lineOn(8, 8, 6, 6, 6, 6));

    // A clipped line sets exactly the visible pixels of the whole line.
    const PixelSet whole = lineOn(40, 40, 3, 12, 37, 25);
    PixelSet visible;
    for (const auto& p : whole) {
        if (p.first >= 10 && p.first < 20 && p.second >= 15 && p.second < 20)
            visible.insert({p.first - 10, p.second - 15});
    }
    ASSERT_FALSE(visible.empty());
    EXPECT_EQ(visible, lineOn(10, 5, 3 - 10, 12 - 15, 37 - 10, 25 - 15));
}

TEST(GraymapTest, PixelOperations)
{
    unsigned char p = 250;
    Graymap::pixelAdd(p, 10);
    EXPECT_EQ(255, p);
    Graymap::pixelAdd(p, -300);
    EXPECT_EQ(0, p);
    Graymap::pixelAdd(p, 7);
    EXPECT_EQ(7, p);

    Graymap map(3, 1, true);
    map.getRow(0)[0] = 0;
    map.getRow(0)[1] = 99;
    map.getRow(0)[2] = 100;
    map.getAlphaRow(0)[1] = 5;
    const Graymap negative = map.getNegative();
    EXPECT_EQ(255, negative.getRow(0)[0]);
    EXPECT_EQ(156, negative.getRow(0)[1]);
    EXPECT_EQ(5, negative.getAlphaRow(0)[1]);

    map.threshold(100);
    EXPECT_EQ(0, map.getRow(0)[1]);
    EXPECT_EQ(255, map.getRow(0)[2]);
}

TEST(GraymapTest, DitherOfMidGrayMixesBlackAndWhite)
{
    Graymap map(16, 16, true);
    map.clear(128);
    map.getAlphaRow(5)[5] = 17;
    map.dither();
    long sum = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int v = map.getRow(y)[x];
            ASSERT_TRUE(v == 0 || v == 255) << v;
            sum += v;
        }
    }
    EXPECT_NEAR(128.0, sum / 256.0, 8.0);
    // 128 becomes 255 with error -127; 7/16 of it (-55) leaves 73 next door,
    // which becomes 0 and pushes 31 on to 159, and so on.
    EXPECT_EQ(255, map.getRow(0)[0]);
    EXPECT_EQ(0, map.getRow(0)[1]);
    EXPECT_EQ(255, map.getRow(0)[2]);
    EXPECT_EQ(0, map.getRow(0)[3]);
    EXPECT_TRUE(map.isBlackAndWhite());
    EXPECT_EQ(17, map.getAlphaRow(5)[5]);

    // Odd rows run right to left: their errors flow leftwards.
    const std::vector<std::vector<int>> values = {
        {100, 140, 60, 200, 90}, {130, 120, 110, 30, 250}, {70, 180, 128, 128, 10}};
    const std::vector<std::vector<int>> dithered = {
        {0, 255, 0, 255, 0}, {0, 255, 0, 0, 255}, {0, 255, 255, 0, 0}};
    Graymap mixed(5, 3, false);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x)
            mixed.getRow(y)[x] = static_cast<unsigned char>(values[y][x]);
    }
    mixed.dither();
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(dithered[y], std::vector<int>(mixed.getRow(y), mixed.getRow(y) + 5)) << y;

    // Errors pushed beyond the edges are dropped rather than written.
    Graymap column(1, 3, false);
    column.clear(200);
    column.dither();
    EXPECT_EQ(PixelSet({{0, 0}, {0, 1}, {0, 2}}), pixelsWith(column, 255));
}

TEST(GraymapTest, FlattenComposesOverTheBackground)
{
    Graymap map(4, 1, true);
    const unsigned char values[] = {0, 200, 77, 33};
    const unsigned char alphas[] = {128, 51, 255, 0};
    for (int x = 0; x < 4; ++x) {
        map.getRow(0)[x] = values[x];
        map.getAlphaRow(0)[x] = alphas[x];
    }
    Graymap overWhite(map);
    overWhite.flatten(255);
    EXPECT_FALSE(overWhite.hasAlpha());
    EXPECT_EQ(255 * 127 / 255, overWhite.getRow(0)[0]);
    EXPECT_EQ(77, overWhite.getRow(0)[2]);
    EXPECT_EQ(255, overWhite.getRow(0)[3]);

    map.flatten(10);
    EXPECT_EQ((10 * 204 + 51 * 200) / 255, map.getRow(0)[1]);
    EXPECT_EQ(10, map.getRow(0)[3]);

    Graymap opaque(2, 1, false);
    opaque.clear(40);
    opaque.flatten(255);
    EXPECT_EQ(40, opaque.getRow(0)[1]);
}

TEST(GraymapTest, BlackAndWhiteIgnoresOnlyTransparentPixels)
{
    EXPECT_TRUE(Graymap().isBlackAndWhite());
    Graymap map(2, 2, false);
    map.clear(255);
    map.getRow(0)[0] = 0;
    EXPECT_TRUE(map.isBlackAndWhite());
    map.getRow(1)[1] = 128;
    EXPECT_FALSE(map.isBlackAndWhite());
    map.setAlpha();
    EXPECT_FALSE(map.isBlackAndWhite());
    map.getAlphaRow(1)[1] = 0;
    EXPECT_TRUE(map.isBlackAndWhite());
    map.getAlphaRow(1)[1] = 1;
    EXPECT_FALSE(map.isBlackAndWhite());
}
