#include <gtest/gtest.h>

#include <numeric>
#include <set>
#include <utility>

#include "graphics/PixelTestUtil.h"

using OKU::Graymap;
using namespace GraphicsTest;

namespace {

typedef std::set<std::pair<int, int>> PixelSet;

PixelSet lineOn(int width, int height, int x0, int y0, int x1, int y1)
{
    Graymap map(width, height, false);
    map.clear(0);
    map.drawLine(x0, y0, x1, y1, 9);
    PixelSet pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (map.getRow(y)[x] == 9)
                pixels.insert({x, y});
    return pixels;
}

} // namespace

TEST(GraymapTest, StorageCopiesAndResizes)
{
    EXPECT_EQ(nullptr, Graymap().getPixels());
    EXPECT_TRUE(Graymap(-2, 3, false).isEmpty());

    Graymap map(3, 2, true);
    EXPECT_TRUE(std::all_of(map.getAlpha(), map.getAlpha() + 6, [](int a) { return a == 255; }));
    map.clear(7);
    map.getAlphaRow(0)[1] = 3;
    Graymap copy(map);
    EXPECT_EQ(map, copy);
    copy.getAlphaRow(0)[1] = 4;
    EXPECT_NE(map, copy);

    Graymap moved(std::move(copy));
    EXPECT_TRUE(copy.isEmpty());
    EXPECT_EQ(4, moved.getAlphaRow(0)[1]);
    // The same size keeps the values when only alpha goes.
    moved.resize(3, 2, false);
    EXPECT_EQ(Rows({{7, 7, 7}, {7, 7, 7}}), rowsOf(moved));
    moved.resize(5, 4);
    EXPECT_EQ(5, moved.getWidth());
    EXPECT_FALSE(moved.hasAlpha());
}

TEST(GraymapTest, FromPixmapInvertsWeightedGray)
{
    OKU::Pixmap pixmap(3, 1, OKU::Color(0, 0, 0, 100));
    pixmap.getRow(0)[0] = {30, 20, 10, 100}; // blue, green, red, alpha
    pixmap.getRow(0)[1] = {3, 0, 0, 0};      // 3 >> 2 is still full ink
    pixmap.getRow(0)[2] = {255, 255, 255, 255};
    const Graymap map(pixmap);
    EXPECT_EQ(Rows({{255 - (30 + 40 + 10) / 4, 255, 0}}), rowsOf(map));
    ASSERT_TRUE(map.hasAlpha());
    EXPECT_EQ(100, map.getAlphaRow(0)[0]);
    EXPECT_FALSE(Graymap(OKU::Pixmap(2, 2, false)).hasAlpha());
}

TEST(GraymapTest, DrawingClipsToTheMap)
{
    Graymap map(4, 3, false);
    map.clear(0);
    map.drawHLine(-2, 0, 4, 1);
    map.drawVLine(3, -5, 100, 2);
    map.drawSolidRect(1, 1, 10, 10, 3);
    map.drawHLine(0, 3, 4, 4);
    EXPECT_EQ(Rows({{1, 1, 0, 2}, {0, 3, 3, 3}, {0, 3, 3, 3}}), rowsOf(map));

    Graymap src = mapOf({{0, 11, 0}, {13, 0, 15}, {0, 17, 0}});
    src.setAlpha();
    map.clear(9);
    map.drawGraymap(-1, 1, src);
    map.drawDuotoneGraymap(2, -1, src, 200, 50);
    EXPECT_EQ(Rows({{9, 9, 200, 50}, {11, 0, 50, 200}, {0, 15, 9, 9}}), rowsOf(map));
    map.drawGraymap(4, 0, src);
    map.drawGraymap(-3, -3, src);
    EXPECT_EQ(Rows({{9, 9, 200, 50}, {11, 0, 50, 200}, {0, 15, 9, 9}}), rowsOf(map));
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
    EXPECT_EQ(PixelSet({{6, 6}}), lineOn(8, 8, 6, 6, 6, 6));

    // A clipped line sets exactly the visible pixels of the whole line.
    PixelSet visible;
    for (const auto& p : lineOn(40, 40, 3, 12, 37, 25))
        if (p.first >= 10 && p.first < 20 && p.second >= 15 && p.second < 20)
            visible.insert({p.first - 10, p.second - 15});
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

    Graymap map = mapOf({{0, 99, 100}});
    map.setAlpha();
    map.getAlphaRow(0)[1] = 5;
    const Graymap negative = map.getNegative();
    EXPECT_EQ(Rows({{255, 156, 155}}), rowsOf(negative));
    EXPECT_EQ(5, negative.getAlphaRow(0)[1]);
    map.threshold(100);
    EXPECT_EQ(Rows({{0, 0, 255}}), rowsOf(map));

    // Black and white ignores only transparent pixels.
    EXPECT_TRUE(Graymap().isBlackAndWhite());
    Graymap bw = mapOf({{0, 255, 128}});
    EXPECT_FALSE(bw.isBlackAndWhite());
    bw.setAlpha();
    bw.getAlphaRow(0)[2] = 1;
    EXPECT_FALSE(bw.isBlackAndWhite());
    bw.getAlphaRow(0)[2] = 0;
    EXPECT_TRUE(bw.isBlackAndWhite());
}

TEST(GraymapTest, DitherDiffusesErrorsInSerpentineOrder)
{
    Graymap gray(16, 16, true);
    gray.clear(128);
    gray.getAlphaRow(5)[5] = 17;
    gray.dither();
    EXPECT_TRUE(gray.isBlackAndWhite());
    EXPECT_NEAR(128.0, std::accumulate(gray.getPixels(), gray.getPixels() + 256, 0L) / 256.0, 8.0);
    // 128 becomes 255 with error -127; 7/16 of it leaves 73 next door, which
    // becomes 0 and pushes 31 on to 159, and so on.
    EXPECT_EQ(std::vector<int>({255, 0, 255, 0}),
              std::vector<int>(gray.getRow(0), gray.getRow(0) + 4));
    EXPECT_EQ(17, gray.getAlphaRow(5)[5]);

    // Odd rows run right to left, so their errors flow leftwards.
    Graymap mixed =
        mapOf({{100, 140, 60, 200, 90}, {130, 120, 110, 30, 250}, {70, 180, 128, 128, 10}});
    mixed.dither();
    EXPECT_EQ(Rows({{0, 255, 0, 255, 0}, {0, 255, 0, 0, 255}, {0, 255, 255, 0, 0}}), rowsOf(mixed));
}

TEST(GraymapTest, FlattenComposesOverTheBackground)
{
    Graymap map = mapOf({{0, 200, 77, 33}});
    map.setAlpha();
    const unsigned char alphas[] = {128, 51, 255, 0};
    std::copy(alphas, alphas + 4, map.getAlpha());
    Graymap overWhite(map);
    overWhite.flatten(255);
    EXPECT_FALSE(overWhite.hasAlpha());
    EXPECT_EQ(Rows({{127, 244, 77, 255}}), rowsOf(overWhite));
    map.flatten(10);
    EXPECT_EQ(Rows({{4, 48, 77, 10}}), rowsOf(map));
    map.flatten(255);
    EXPECT_EQ(4, map.getRow(0)[0]) << "a map without alpha stays as it is";
}
