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
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            map.getRow(y)[x] = static_cast<unsigned char>(random());
            if (alpha)
                map.getAlphaRow(y)[x] = static_cast<unsigned char>(random());
        }
    }
    return map;
}

// Straightforward per-pixel versions of the integer scaling rules.
unsigned char blockAverage(const unsigned char* plane, int width, int x, int y, unsigned fx,
                           unsigned fy)
{
    unsigned sum = 0;
    for (unsigned j = 0; j < fy; ++j) {
        for (unsigned i = 0; i < fx; ++i)
            sum += plane[(y * fy + j) * width + x * fx + i];
    }
    return static_cast<unsigned char>(sum / (fx * fy));
}

Graymap referenceDownscale(const Graymap& src, unsigned fx, unsigned fy)
{
    Graymap result(src.getWidth() / fx, src.getHeight() / fy, src.hasAlpha());
    for (int y = 0; y < result.getHeight(); ++y) {
        for (int x = 0; x < result.getWidth(); ++x) {
            result.getRow(y)[x] = blockAverage(src.getPixels(), src.getWidth(), x, y, fx, fy);
            if (src.hasAlpha())
                result.getAlphaRow(y)[x] = blockAverage(src.getAlpha(), src.getWidth(), x, y, fx, fy);
        }
    }
    return result;
}

Graymap referenceUpscale(const Graymap& src, unsigned fx, unsigned fy)
{
    Graymap result(src.getWidth() * fx, src.getHeight() * fy, src.hasAlpha());
    for (int y = 0; y < result.getHeight(); ++y) {
        for (int x = 0; x < result.getWidth(); ++x) {
            result.getRow(y)[x] = src.getRow(y / fy)[x / fx];
            if (src.hasAlpha())
                result.getAlphaRow(y)[x] = src.getAlphaRow(y / fy)[x / fx];
        }
    }
    return result;
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
    ASSERT_TRUE(result.hasAlpha());
    EXPECT_EQ(2, result.getRow(0)[0]);
    EXPECT_EQ(27, result.getAlphaRow(0)[0]);
    EXPECT_EQ(200, result.getRow(0)[1]);
    EXPECT_EQ(255, result.getAlphaRow(0)[1]);

    EXPECT_EQ(map, map.downscale(1, 1));
    EXPECT_EQ(map, map.upscale(1, 1));
}

TEST(GraymapScaleTest, ZeroFactorGivesAnEmptyMap)
{
    const Graymap map = randomMap(4, 4, true, 1);
    for (const Graymap& result : {map.upscale(0, 3), map.upscale(2, 0), map.downscale(0, 1)}) {
        EXPECT_EQ(0, result.getWidth());
        EXPECT_EQ(0, result.getHeight());
        EXPECT_FALSE(result.hasAlpha());
    }
    // Factors larger than the map leave nothing to average.
    EXPECT_TRUE(map.downscale(5, 1).isEmpty());
}

TEST(GraymapScaleTest, UpscaleReplicatesEveryPixelAndItsAlpha)
{
    Graymap map(2, 1, true);
    map.getRow(0)[0] = 10;
    map.getRow(0)[1] = 20;
    map.getAlphaRow(0)[1] = 7;
    const Graymap result = map.upscale(3, 2);
    ASSERT_EQ(6, result.getWidth());
    ASSERT_EQ(2, result.getHeight());
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(x < 3 ? 10 : 20, result.getRow(y)[x]);
            EXPECT_EQ(x < 3 ? 255 : 7, result.getAlphaRow(y)[x]);
        }
    }
    EXPECT_THROW(map.upscale(0x80000000u, 1), std::bad_alloc);
}

TEST(GraymapScaleTest, DedicatedFactorsGiveTheGeneralResults)
{
    // Sizes that are not multiples of most factors, so partial blocks occur.
    const Graymap withAlpha = randomMap(29, 23, true, 2);
    const Graymap plain = randomMap(17, 19, false, 3);
    for (unsigned n = 1; n <= 8; ++n) {
        const unsigned pairs[][2] = {{n, n}, {1, n}, {n, 1}};
        for (const auto& f : pairs) {
            for (const Graymap* map : {&withAlpha, &plain}) {
                EXPECT_EQ(referenceDownscale(*map, f[0], f[1]), map->downscale(f[0], f[1]))
                    << f[0] << "x" << f[1];
                EXPECT_EQ(referenceUpscale(*map, f[0], f[1]), map->upscale(f[0], f[1]))
                    << f[0] << "x" << f[1];
            }
        }
    }
    const unsigned general[][2] = {{3, 5}, {9, 2}, {2, 9}, {13, 1}, {29, 23}};
    for (const auto& f : general) {
        EXPECT_EQ(referenceDownscale(withAlpha, f[0], f[1]), withAlpha.downscale(f[0], f[1]))
            << f[0] << "x" << f[1];
        EXPECT_EQ(referenceUpscale(withAlpha, f[0], f[1]), withAlpha.upscale(f[0], f[1]))
            << f[0] << "x" << f[1];
    }
}

TEST(GraymapScaleTest, NearestSamplesPixelCentres)
{
    Graymap map(4, 3, true);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            map.getRow(y)[x] = static_cast<unsigned char>(10 * y + x);
            map.getAlphaRow(y)[x] = static_cast<unsigned char>(100 + 10 * y + x);
        }
    }
    // Columns floor((t + 0.5) * 4 / 3) = 0, 2, 3; a single row samples row 3 / 2.
    const Graymap result = map.scaleNearest(3, 1);
    ASSERT_EQ(3, result.getWidth());
    ASSERT_EQ(1, result.getHeight());
    ASSERT_TRUE(result.hasAlpha());
    EXPECT_EQ(10, result.getRow(0)[0]);
    EXPECT_EQ(12, result.getRow(0)[1]);
    EXPECT_EQ(13, result.getRow(0)[2]);
    EXPECT_EQ(113, result.getAlphaRow(0)[2]);

    // Doubling samples every pixel twice.
    EXPECT_EQ(map.upscale(2, 2), map.scaleNearest(8, 6));
    EXPECT_EQ(map, map.scaleNearest(4, 3));

    const Graymap degenerate = map.scaleNearest(0, 5);
    EXPECT_EQ(0, degenerate.getWidth());
    EXPECT_EQ(5, degenerate.getHeight());
    EXPECT_FALSE(degenerate.hasAlpha());
    const Graymap fromEmpty = Graymap(0, 2, true).scaleNearest(3, 2);
    EXPECT_EQ(3, fromEmpty.getWidth());
    EXPECT_FALSE(fromEmpty.hasAlpha());
}

TEST(GraymapScaleTest, BilinearKeepsCornersAndAveragesBetweenThem)
{
    Graymap map(2, 2, true);
    const unsigned char values[] = {10, 21, 30, 47};
    for (int i = 0; i < 4; ++i) {
        map.getPixels()[i] = values[i];
        map.getAlpha()[i] = static_cast<unsigned char>(255 - values[i]);
    }
    const Graymap result = map.scaleBilinear(3, 3, 4);
    ASSERT_TRUE(result.hasAlpha());
    const int expected[3][3] = {{10, 15, 21}, {20, 27, 34}, {30, 38, 47}};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(expected[y][x], result.getRow(y)[x]) << x << "," << y;
        }
    }
    EXPECT_EQ(255 - 47, result.getAlphaRow(2)[2]);
    EXPECT_EQ((245 + 234) / 2, result.getAlphaRow(0)[1]);

    const Graymap random = randomMap(7, 5, true, 4);
    EXPECT_EQ(random, random.scaleBilinear(7, 5, 3));
    // Too small a source or target falls back to nearest sampling.
    const Graymap thin = randomMap(1, 6, false, 5);
    EXPECT_EQ(thin.scaleNearest(4, 9), thin.scaleBilinear(4, 9, 3));
    EXPECT_EQ(random.scaleNearest(1, 3), random.scaleBilinear(1, 3, 3));
}

TEST(GraymapScaleTest, BilinearShrinkWorksOnTheFilteredSource)
{
    const Graymap map = randomMap(12, 8, false, 6);
    // Half the size in both directions: cut-offs 0.25, and the corners of the
    // result are the corners of the filtered map.
    const Graymap filtered = map.lowPassFilter2(0.25f, 0.25f, 4);
    const Graymap result = map.scaleBilinear(6, 4, 4);
    ASSERT_EQ(6, result.getWidth());
    ASSERT_EQ(4, result.getHeight());
    EXPECT_EQ(filtered.getRow(0)[0], result.getRow(0)[0]);
    EXPECT_EQ(filtered.getRow(0)[11], result.getRow(0)[5]);
    EXPECT_EQ(filtered.getRow(7)[0], result.getRow(3)[0]);
    EXPECT_EQ(filtered.getRow(7)[11], result.getRow(3)[5]);

    // Shrinking only the width filters only along x.
    const Graymap narrow = map.scaleBilinear(6, 8, 4);
    EXPECT_EQ(map.lowPassFilterX(0.25f, 4).getRow(5)[11], narrow.getRow(5)[5]);
}
