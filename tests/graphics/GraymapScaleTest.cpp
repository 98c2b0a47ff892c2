#include <gtest/gtest.h>

#include <new>
#include <random>

#include "graphics/Graymap.h"

using OKU::Graymap;

namespace {

Graymap randomMap(int width, int height, bool alpha, unsigned seed)
{
    std::mt19937 random(seed);
    Graymap map(width, height, alpha);
    for (int i = 0; i < width * height; ++i) {
        map.getPixels()[i] = static_cast<unsigned char>(random());
        if (alpha)
            map.getAlpha()[i] = static_cast<unsigned char>(random());
    }
    return map;
}

// A width x height map whose pixels pixel(plane, x, y) computes from each
// plane of src.
template <class PixelRule>
Graymap perPixel(const Graymap& src, int width, int height, PixelRule pixel)
{
    Graymap result(width, height, src.hasAlpha());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            result.getRow(y)[x] = static_cast<unsigned char>(pixel(src.getPixels(), x, y));
            if (src.hasAlpha())
                result.getAlphaRow(y)[x] = static_cast<unsigned char>(pixel(src.getAlpha(), x, y));
        }
    }
    return result;
}

// The integer scaling rules written out pixel by pixel.
Graymap referenceDownscale(const Graymap& src, unsigned fx, unsigned fy)
{
    const unsigned width = src.getWidth();
    return perPixel(src, width / fx, src.getHeight() / fy, [&](const unsigned char* plane, int x, int y) {
        unsigned sum = 0;
        for (unsigned j = 0; j < fy; ++j) {
            for (unsigned i = 0; i < fx; ++i)
                sum += plane[(y * fy + j) * width + x * fx + i];
        }
        return sum / (fx * fy);
    });
}

Graymap referenceUpscale(const Graymap& src, unsigned fx, unsigned fy)
{
    const unsigned width = src.getWidth();
    return perPixel(src, width * fx, src.getHeight() * fy, [&](const unsigned char* plane, int x, int y) {
        return plane[y / fy * width + x / fx];
    });
}

} // namespace

TEST(GraymapScaleTest, DownscaleAveragesWholeBlocksAndDropsTheRest)
{
    Graymap map(5, 3, true);
    map.clear(200);
    const unsigned char block[] = {1, 2, 3, 5};
    for (int i = 0; i < 4; ++i) {
        map.getRow(i / 2)[i % 2] = block[i];
        map.getAlphaRow(i / 2)[i % 2] = static_cast<unsigned char>(block[i] * 10);
    }
    const Graymap result = map.downscale(2, 2);
    ASSERT_EQ(2, result.getWidth());
    ASSERT_EQ(1, result.getHeight());
    EXPECT_EQ(2, result.getRow(0)[0]);
    EXPECT_EQ(27, result.getAlphaRow(0)[0]);
    EXPECT_EQ(200, result.getRow(0)[1]);
    EXPECT_EQ(map, map.downscale(1, 1));
    EXPECT_EQ(map, map.upscale(1, 1));
}

TEST(GraymapScaleTest, DegenerateFactors)
{
    const Graymap map = randomMap(4, 4, true, 1);
    for (const Graymap& result : {map.upscale(0, 3), map.upscale(2, 0), map.downscale(0, 1)}) {
        EXPECT_EQ(0, result.getWidth());
        EXPECT_EQ(0, result.getHeight());
        EXPECT_FALSE(result.hasAlpha());
    }
    EXPECT_TRUE(map.downscale(5, 1).isEmpty());
    EXPECT_THROW(map.upscale(0x80000000u, 1), std::bad_alloc);
}

TEST(GraymapScaleTest, DedicatedFactorsGiveTheGeneralResults)
{
    // Sizes that are not multiples of most factors, so partial blocks occur.
    const Graymap withAlpha = randomMap(29, 23, true, 2);
    const Graymap plain = randomMap(17, 19, false, 3);
    for (unsigned n = 1; n <= 8; ++n) {
        const unsigned pairs[][2] = {{n, n}, {1, n}, {n, 1}, {n + 1, 3}};
        for (const auto& f : pairs) {
            for (const Graymap* map : {&withAlpha, &plain}) {
                EXPECT_EQ(referenceDownscale(*map, f[0], f[1]), map->downscale(f[0], f[1]))
                    << f[0] << "x" << f[1];
                EXPECT_EQ(referenceUpscale(*map, f[0], f[1]), map->upscale(f[0], f[1]))
                    << f[0] << "x" << f[1];
            }
        }
    }
}

TEST(GraymapScaleTest, NearestSamplesPixelCentres)
{
    const Graymap map = randomMap(4, 3, true, 4);
    // Columns floor((t + 0.5) * 4 / 3) = 0, 2, 3; a single row samples row 3 / 2.
    const Graymap result = map.scaleNearest(3, 1);
    ASSERT_EQ(3, result.getWidth());
    ASSERT_EQ(1, result.getHeight());
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(map.getRow(1)[x == 0 ? 0 : x + 1], result.getRow(0)[x]);
        EXPECT_EQ(map.getAlphaRow(1)[x == 0 ? 0 : x + 1], result.getAlphaRow(0)[x]);
    }
    EXPECT_EQ(map.upscale(2, 2), map.scaleNearest(8, 6));
    EXPECT_EQ(map, map.scaleNearest(4, 3));

    const Graymap degenerate = map.scaleNearest(0, 5);
    EXPECT_EQ(5, degenerate.getHeight());
    EXPECT_FALSE(degenerate.hasAlpha());
    const Graymap fromEmpty = Graymap(0, 2, true).scaleNearest(3, 2);
    EXPECT_EQ(3, fromEmpty.getWidth());
    EXPECT_FALSE(fromEmpty.hasAlpha());
}

TEST(GraymapScaleTest, BilinearKeepsCornersAndInterpolatesBetweenThem)
{
    Graymap map(2, 2, true);
    const unsigned char values[] = {10, 21, 30, 47};
    for (int i = 0; i < 4; ++i) {
        map.getPixels()[i] = values[i];
        map.getAlpha()[i] = static_cast<unsigned char>(255 - values[i]);
    }
    const Graymap result = map.scaleBilinear(3, 3, 4);
    const int expected[3][3] = {{10, 15, 21}, {20, 27, 34}, {30, 38, 47}};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(expected[y][x], result.getRow(y)[x]) << x << "," << y;
    }
    EXPECT_EQ((245 + 234) / 2, result.getAlphaRow(0)[1]);

    const Graymap random = randomMap(7, 5, true, 5);
    EXPECT_EQ(random, random.scaleBilinear(7, 5, 3));
    // Too small a source or target falls back to nearest sampling.
    const Graymap thin = randomMap(1, 6, false, 6);
    EXPECT_EQ(thin.scaleNearest(4, 9), thin.scaleBilinear(4, 9, 3));
    EXPECT_EQ(random.scaleNearest(1, 3), random.scaleBilinear(1, 3, 3));
}

TEST(GraymapScaleTest, BilinearShrinkWorksOnTheFilteredSource)
{
    const Graymap map = randomMap(12, 8, false, 7);
    // Half the size: cut-offs 0.25, and the corners are those of the filtered map.
    const Graymap filtered = map.lowPassFilter2(0.25f, 0.25f, 4);
    const Graymap result = map.scaleBilinear(6, 4, 4);
    EXPECT_EQ(filtered.getRow(0)[0], result.getRow(0)[0]);
    EXPECT_EQ(filtered.getRow(7)[11], result.getRow(3)[5]);
    // Shrinking only the width filters only along x, and whole rows are kept.
    EXPECT_EQ(map.lowPassFilterX(0.25f, 4).getRow(5)[11], map.scaleBilinear(6, 8, 4).getRow(5)[5]);
}
