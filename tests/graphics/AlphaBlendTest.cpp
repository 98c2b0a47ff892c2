#include "graphics/AlphaBlend.h"

#include "graphics/PixelBlend.h"
#include "graphics/PixelTestUtil.h"

using namespace OKU;
using GraphicsTest::rgba;

// Rows of every length up to a few groups plus the rest, whose source alpha
// comes in runs of 0, of 255 and of any value, so that wholly opaque, wholly
// transparent and mixed groups fall at every position. The destination's
// alpha bytes vary too, to show which one the blend keeps; the pixels after
// the row must stay as they were. The vector paths must give what the
// portable per-pixel blend gives.
TEST(AlphaBlendTest, RowsFollowThePerPixelRule)
{
    uint32_t seed = 4711;
    const auto next = [&seed]() { return (seed = seed * 1103515245 + 12345) >> 16; };
    const auto anyPixel = [&next](int alpha) {
        return GraphicsTest::pixel(next() % 256, next() % 256, next() % 256, alpha);
    };
    for (int count = 0; count <= 40; ++count) {
        for (int trial = 0; trial < 8; ++trial) {
            std::vector<Pixmap::Pixel> src;
            while (static_cast<int>(src.size()) < count) {
                const int kind = next() % 3;
                for (int run = 1 + next() % 12; run > 0; --run)
                    src.push_back(anyPixel(kind == 0 ? 0 : kind == 1 ? 255 : next() % 256));
            }
            std::vector<Pixmap::Pixel> dst;
            for (int i = 0; i < count + 9; ++i)
                dst.push_back(anyPixel(next() % 256));
            std::vector<Pixmap::Pixel> want = dst;
            for (int i = 0; i < count; ++i)
                blendOverOpaque(want[i], src[i]);

            blendOverOpaqueRow(dst.data(), src.data(), count);
            for (size_t i = 0; i < dst.size(); ++i)
                ASSERT_EQ(want[i], dst[i]) << "length " << count << " pixel " << i << ": "
                                           << rgba(dst[i]) << " instead of " << rgba(want[i]);
        }
    }
}
