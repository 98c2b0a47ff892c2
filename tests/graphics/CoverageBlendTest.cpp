#include "graphics/detail/CoverageBlend.h"

#include "graphics/PixelBlend.h"
#include "graphics/PixelLoopTestUtil.h"
#include "graphics/PixelTestUtil.h"

using namespace OKU;
using GraphicsTest::rgba;

class CoverageBlendTest : public GraphicsTest::PixelLoopLevelTest {};
OKU_INSTANTIATE_FOR_EVERY_LEVEL(CoverageBlendTest);

// Blocks of every width up to a few groups of the widest vector, starting
// anywhere in a vector, with rows further apart than they are wide, over
// pixels that differ everywhere, so that a pixel blended with its
// neighbour's coverage or destination shows; the pixels around and between
// the rows must stay as they were. Coverage comes in runs of 0, of 255 and of
// any value, so that groups without any are skipped at every position.
// Coverage v blends the colour at alpha a * v / 256, but a whole glyph skips
// v = 0 and takes v = 255 at a itself.
TEST_P(CoverageBlendTest, EveryPixelFollowsTheRuleOfItsDestination)
{
    std::mt19937 random(12345);
    const auto below = [&random](int n) { return static_cast<int>(random() % n); };
    for (const bool destAlpha : {false, true}) {
        for (const Color& c : {Color(0, 0, 0), Color(255, 128, 3), Color(30, 250, 99, 77)}) {
            for (int width = 0; width <= 70; ++width) {
                for (const bool whole : {false, true}) {
                    const int height = 1 + below(3);
                    const int start = below(8);
                    const int stride = width + below(5);
                    const int coverageStride = width + below(5);
                    // Exactly as long as the block needs, for reads past its end to show.
                    const size_t coverageSize = (height - 1) * coverageStride + width;
                    std::vector<unsigned char> coverage;
                    while (coverage.size() < coverageSize) {
                        const int kind = below(3);
                        for (int run = 1 + below(12); run > 0; --run)
                            coverage.push_back(kind == 0 ? 0 : kind == 1 ? 255 : below(256));
                    }
                    coverage.resize(coverageSize);
                    std::vector<Pixmap::Pixel> pixels(start + stride * height + 8);
                    for (Pixmap::Pixel& p : pixels)
                        p = GraphicsTest::pixel(below(256), below(256), below(256),
                                                destAlpha ? below(256) : 255);
                    std::vector<Pixmap::Pixel> want = pixels;
                    for (int y = 0; y < height; ++y) {
                        for (int x = 0; x < width; ++x) {
                            const int v = coverage[y * coverageStride + x];
                            if (whole && v == 0)
                                continue;
                            const int alpha = whole && v == 255 ? c.alpha : c.alpha * v / 256;
                            blendColor(want[start + y * stride + x],
                                       Color(c.red, c.green, c.blue, alpha), destAlpha);
                        }
                    }
                    blendCoverage(CoverageBlock{pixels.data() + start, stride, coverage.data(),
                                                coverageStride, width, height},
                                  c, whole, destAlpha);
                    for (size_t i = 0; i < pixels.size(); ++i)
                        ASSERT_EQ(want[i], pixels[i])
                            << (destAlpha ? "alpha" : "opaque") << " width " << width
                            << (whole ? " whole" : " cut") << " from " << start << " stride "
                            << stride << ", pixel " << i << ": " << rgba(pixels[i]);
                }
            }
        }
    }
}
