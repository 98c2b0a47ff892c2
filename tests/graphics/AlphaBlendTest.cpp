#include "graphics/detail/AlphaBlend.h"

#include "graphics/PixelBlend.h"
#include "graphics/PixelLoopTestUtil.h"
#include "graphics/PixelTestUtil.h"

using namespace OKU;
using GraphicsTest::rgba;

class AlphaBlendTest : public GraphicsTest::PixelLoopLevelTest {};
OKU_INSTANTIATE_FOR_EVERY_LEVEL(AlphaBlendTest);

// Rows of every length up to a few groups of the widest vector, starting
// anywhere in a vector, whose source alpha comes in runs of 0, of 255 and of
// any value, so that wholly opaque, wholly transparent and mixed groups fall
// at every position. The destination's alpha bytes vary too, to show which
// one the blend keeps; the pixels before and after the row must stay as
// they were.
TEST_P(AlphaBlendTest, RowsFollowThePerPixelRule)
{
    std::mt19937 random(4711);
    const auto below = [&random](int n) { return static_cast<int>(random() % n); };
    const auto anyPixel = [&below](int alpha) {
        return GraphicsTest::pixel(below(256), below(256), below(256), alpha);
    };
    for (int count = 0; count <= 70; ++count) {
        for (int trial = 0; trial < 8; ++trial) {
            const int srcStart = below(8);
            const int dstStart = below(8);
            std::vector<Pixmap::Pixel> src(srcStart, anyPixel(128));
            while (static_cast<int>(src.size()) < srcStart + count) {
                const int kind = below(3);
                for (int run = 1 + below(12); run > 0; --run)
                    src.push_back(anyPixel(kind == 0 ? 0 : kind == 1 ? 255 : below(256)));
            }
            std::vector<Pixmap::Pixel> dst;
            for (int i = 0; i < dstStart + count + 9; ++i)
                dst.push_back(anyPixel(below(256)));
            std::vector<Pixmap::Pixel> want = dst;
            for (int i = 0; i < count; ++i)
                blendOverOpaque(want[dstStart + i], src[srcStart + i]);

            blendOverOpaqueRow(dst.data() + dstStart, src.data() + srcStart, count);
            for (size_t i = 0; i < dst.size(); ++i)
                ASSERT_EQ(want[i], dst[i]) << "length " << count << " from " << dstStart
                                           << ", pixel " << i << ": " << rgba(dst[i])
                                           << " instead of " << rgba(want[i]);
        }
    }
}
