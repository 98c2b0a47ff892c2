#include <gtest/gtest.h>

#include "graphics/Shadow.h"

using OKU::Color;
using OKU::Pixmap;
using OKU::Shadow;

namespace {

int alphaAt(const Pixmap& piece, int x, int y)
{
    return piece.getPixel(x, y).alpha;
}

} // namespace

TEST(ShadowTest, RadiusOneIsSolid)
{
    const Shadow shadow(1, Color(10, 20, 30, 99));
    EXPECT_EQ(1, shadow.getRadius());
    EXPECT_EQ(Color(10, 20, 30, 99), shadow.getColor());
    // Edges are 32 long.
    const Pixmap* pieces[] = {&shadow.getTopEdge(),          &shadow.getBottomEdge(),
                              &shadow.getRightEdge(),        &shadow.getLeftEdge(),
                              &shadow.getTopRightCorner(),   &shadow.getTopLeftCorner(),
                              &shadow.getBottomRightCorner(), &shadow.getBottomLeftCorner()};
    for (int i = 0; i < 8; ++i) {
        const Pixmap& piece = *pieces[i];
        ASSERT_EQ(i < 2 ? 32 : 1, piece.getWidth()) << i;
        ASSERT_EQ(i == 2 || i == 3 ? 32 : 1, piece.getHeight()) << i;
        EXPECT_TRUE(piece.hasAlpha());
        for (size_t k = 0; k < piece.getPixelCount(); ++k)
            EXPECT_EQ((Pixmap::Pixel{30, 20, 10, 99}), piece.getPixels()[k]) << i << " " << k;
    }
}

TEST(ShadowTest, BandsFadeOutwardAndCornersAreQuarterDiscs)
{
    const Shadow shadow(4, Color(200, 100, 50, 255));
    // a(i) = floor(255 - i * 63.75 + 0.5).
    const int bands[] = {255, 191, 128, 64};
    for (int i = 0; i < 4; ++i) {
        for (int j : {0, 17, 31}) {
            EXPECT_EQ(bands[i], alphaAt(shadow.getTopEdge(), j, 3 - i));
            EXPECT_EQ(bands[i], alphaAt(shadow.getBottomEdge(), j, i));
            EXPECT_EQ(bands[i], alphaAt(shadow.getRightEdge(), i, j));
            EXPECT_EQ(bands[i], alphaAt(shadow.getLeftEdge(), 3 - i, j));
        }
    }

    // floor((4 - d) * 255 / 4 + 0.5) at distance d from the strongest pixel:
    // d = 1 gives 191, d = sqrt 2 gives 165, d = sqrt 13 gives 25, d >= 4 gives 0.
    struct Sample {
        int dx;
        int dy;
        int alpha;
    };
    const Sample samples[] = {{0, 0, 255}, {1, 0, 191}, {1, 1, 165}, {2, 3, 25}, {3, 3, 0}};
    for (const Sample& s : samples) {
        EXPECT_EQ(s.alpha, alphaAt(shadow.getBottomRightCorner(), s.dx, s.dy));
        EXPECT_EQ(s.alpha, alphaAt(shadow.getBottomLeftCorner(), 3 - s.dx, s.dy));
        EXPECT_EQ(s.alpha, alphaAt(shadow.getTopRightCorner(), s.dx, 3 - s.dy));
        EXPECT_EQ(s.alpha, alphaAt(shadow.getTopLeftCorner(), 3 - s.dx, 3 - s.dy));
        // Symmetric about the diagonal.
        EXPECT_EQ(s.alpha, alphaAt(shadow.getBottomRightCorner(), s.dy, s.dx));
    }

    // Pixels outside the disc are transparent but keep the colour.
    const Pixmap::Pixel outside = shadow.getBottomRightCorner().getPixel(3, 3);
    EXPECT_EQ((Pixmap::Pixel{50, 100, 200, 0}), outside);
}

TEST(ShadowTest, TranslucentColourScalesEveryAlpha)
{
    const Shadow shadow(3, Color(0, 0, 0, 90));
    // 90 / 3 = 30 per band.
    EXPECT_EQ(90, alphaAt(shadow.getBottomEdge(), 5, 0));
    EXPECT_EQ(60, alphaAt(shadow.getBottomEdge(), 5, 1));
    EXPECT_EQ(30, alphaAt(shadow.getBottomEdge(), 5, 2));
    // d = 2: (3 - 2) * 90 / 3 = 30; d = sqrt 8: 5.15 rounds to 5.
    EXPECT_EQ(30, alphaAt(shadow.getBottomRightCorner(), 2, 0));
    EXPECT_EQ(5, alphaAt(shadow.getBottomRightCorner(), 2, 2));
}
