#include <array>
#include <string>

#include <gtest/gtest.h>

#include "graphics/Shadow.h"

using namespace OKU;

namespace {

int alphaAt(const Pixmap& piece, int x, int y)
{
    return piece.getPixel(x, y).alpha;
}

} // namespace

// Alphas are those of the colour's alpha a at distance d from the strongest
// pixel: floor(a - d * a / radius + 0.5), 0 from d = radius on, the colour kept.
TEST(ShadowTest, BandsFadeOutwardAndCornersAreQuarterDiscs)
{
    // The colour, the alphas of the bands and those of the corner at (0, 0),
    // (1, 0), (1, 1), (2, 3) and (3, 3).
    const std::tuple<Color, std::array<int, 4>, std::array<int, 5>> cases[] = {
        {Color(200, 100, 50, 255), {255, 191, 128, 64}, {255, 191, 165, 25, 0}},
        // 90 / 4 = 22.5 per band; sqrt 2 gives 58.2, sqrt 13 gives 8.9.
        {Color(0, 0, 0, 90), {90, 68, 45, 23}, {90, 68, 58, 9, 0}},
    };
    const int samples[5][2] = {{0, 0}, {1, 0}, {1, 1}, {2, 3}, {3, 3}};
    for (const auto& [color, bands, corner] : cases) {
        const Shadow shadow(4, color);
        EXPECT_EQ(std::make_pair(4, color), std::make_pair(shadow.getRadius(), shadow.getColor()));
        for (int i = 0; i < 4; ++i) {
            for (int j : {0, 17, 31}) {
                EXPECT_EQ(bands[i], alphaAt(shadow.getTopEdge(), j, 3 - i));
                EXPECT_EQ(bands[i], alphaAt(shadow.getBottomEdge(), j, i));
                EXPECT_EQ(bands[i], alphaAt(shadow.getRightEdge(), i, j));
                EXPECT_EQ(bands[i], alphaAt(shadow.getLeftEdge(), 3 - i, j));
            }
        }
        for (int s = 0; s < 5; ++s) {
            const int dx = samples[s][0];
            const int dy = samples[s][1];
            EXPECT_EQ(corner[s], alphaAt(shadow.getBottomRightCorner(), dx, dy));
            EXPECT_EQ(corner[s], alphaAt(shadow.getBottomLeftCorner(), 3 - dx, dy));
            EXPECT_EQ(corner[s], alphaAt(shadow.getTopRightCorner(), dx, 3 - dy));
            EXPECT_EQ(corner[s], alphaAt(shadow.getTopLeftCorner(), 3 - dx, 3 - dy));
            EXPECT_EQ(corner[s], alphaAt(shadow.getBottomRightCorner(), dy, dx)) << "symmetric";
        }
        const Pixmap::Pixel outside = shadow.getBottomRightCorner().getPixel(3, 3);
        EXPECT_EQ(color, Color(outside.red, outside.green, outside.blue, color.alpha));
    }
}
