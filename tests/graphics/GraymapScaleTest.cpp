#include <gtest/gtest.h>

#include <new>

#include "graphics/PixelTestUtil.h"

using OKU::Graymap;
using namespace GraphicsTest;

namespace {

// The integer scaling rules written out pixel by pixel, for both planes:
// the mean of a whole block down, copies of a pixel up.
Graymap reference(const Graymap& src, unsigned fx, unsigned fy, bool down)
{
    const int w = down ? src.getWidth() / fx : src.getWidth() * fx;
    const int h = down ? src.getHeight() / fy : src.getHeight() * fy;
    const unsigned n = down ? fx * fy : 1;
    Graymap result(w, h, src.hasAlpha());
    for (int plane = 0; plane < (src.hasAlpha() ? 2 : 1); ++plane)
        for (int i = 0; i < w * h; ++i) {
            unsigned sum = 0;
            for (unsigned j = 0; j < n; ++j) {
                const int x = down ? i % w * fx + j % fx : i % w / fx;
                const int y = down ? i / w * fy + j / fx : i / w / fy;
                sum += (plane ? src.getAlphaRow(y) : src.getRow(y))[x];
            }
            (plane ? result.getAlpha() : result.getPixels())[i] =
                static_cast<unsigned char>(sum / n);
        }
    return result;
}

} // namespace

TEST(GraymapScaleTest, WholeFactorsAverageBlocksDownAndCopyPixelsUp)
{
    // Sizes that are not multiples of most factors, so partial blocks occur.
    const Graymap withAlpha = randomMap(29, 23, true, 2);
    const Graymap plain = randomMap(17, 19, false, 3);
    for (unsigned n = 1; n <= 8; ++n) {
        const unsigned pairs[][2] = {{n, n}, {1, n}, {n, 1}, {n + 1, 3}};
        for (const auto& f : pairs)
            for (const Graymap* map : {&withAlpha, &plain}) {
                EXPECT_EQ(reference(*map, f[0], f[1], true), map->downscale(f[0], f[1]))
                    << f[0] << "x" << f[1];
                EXPECT_EQ(reference(*map, f[0], f[1], false), map->upscale(f[0], f[1]))
                    << f[0] << "x" << f[1];
            }
    }
    // A factor of 0 gives nothing; a factor larger than the map gives a row
    // or column of nothing.
    const Graymap& m = withAlpha;
    for (const Graymap& empty : {m.upscale(0, 3), m.upscale(2, 0), m.downscale(0, 1)})
        EXPECT_EQ(Graymap(), empty);
    EXPECT_TRUE(m.downscale(30, 1).isEmpty());
    EXPECT_THROW(m.upscale(0x80000000u, 1), std::bad_alloc);
}

TEST(GraymapScaleTest, NearestSamplesPixelCentres)
{
    const Graymap map = randomMap(4, 3, true, 4);
    // Columns floor((t + 0.5) * 4 / 3) = 0, 2, 3; a single row samples row 3 / 2.
    const Graymap result = map.scaleNearest(3, 1);
    const unsigned char* row = map.getRow(1);
    const unsigned char* alpha = map.getAlphaRow(1);
    EXPECT_EQ(Rows({{row[0], row[2], row[3]}}), rowsOf(result));
    EXPECT_EQ(std::vector<int>({alpha[0], alpha[2], alpha[3]}),
              std::vector<int>(result.getAlphaRow(0), result.getAlphaRow(0) + 3));
    EXPECT_EQ(map.upscale(2, 2), map.scaleNearest(8, 6));
    EXPECT_EQ(map, map.scaleNearest(4, 3));

    const Graymap degenerate = map.scaleNearest(0, 5);
    EXPECT_EQ(5, degenerate.getHeight());
    EXPECT_FALSE(degenerate.hasAlpha());
    const Graymap fromEmpty = Graymap(0, 2, true).scaleNearest(3, 2);
    EXPECT_EQ(3, fromEmpty.getWidth());
    EXPECT_FALSE(fromEmpty.hasAlpha());
}

TEST(GraymapScaleTest, BilinearInterpolatesAndShrinksTheFilteredSource)
{
    Graymap map(2, 2, true);
    const unsigned char corners[] = {10, 21, 30, 47};
    for (int i = 0; i < 4; ++i) {
        map.getPixels()[i] = corners[i];
        map.getAlpha()[i] = static_cast<unsigned char>(255 - corners[i]);
    }
    const Graymap result = map.scaleBilinear(3, 3, 4);
    EXPECT_EQ(Rows({{10, 15, 21}, {20, 27, 34}, {30, 38, 47}}), rowsOf(result));
    EXPECT_EQ((245 + 234) / 2, result.getAlphaRow(0)[1]);

    const Graymap random = randomMap(7, 5, true, 5);
    EXPECT_EQ(random, random.scaleBilinear(7, 5, 3));
    // Too small a source or target falls back to nearest sampling.
    const Graymap thin = randomMap(1, 6, false, 6);
    EXPECT_EQ(thin.scaleNearest(4, 9), thin.scaleBilinear(4, 9, 3));
    EXPECT_EQ(random.scaleNearest(1, 3), random.scaleBilinear(1, 3, 3));

    // Half the size: cut-offs 0.25, and the corners are those of the
    // filtered map. Shrinking only the width filters only along x.
    const Graymap large = randomMap(12, 8, false, 7);
    const Graymap filtered = large.lowPassFilter2(0.25f, 0.25f, 4);
    const Graymap half = large.scaleBilinear(6, 4, 4);
    EXPECT_EQ(filtered.getRow(0)[0], half.getRow(0)[0]);
    EXPECT_EQ(filtered.getRow(7)[11], half.getRow(3)[5]);
    EXPECT_EQ(large.lowPassFilterX(0.25f, 4).getRow(5)[11],
              large.scaleBilinear(6, 8, 4).getRow(5)[5]);
}
