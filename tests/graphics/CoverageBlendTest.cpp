#include "graphics/CoverageBlend.h"

#include "graphics/PixelBlend.h"
#include "graphics/PixelTestUtil.h"

using namespace OKU;
using GraphicsTest::rgba;

// Blocks of every width up to two groups of eight plus the rest, over pixels
// and coverage that differ everywhere, so that a pixel blended with its
// neighbour's coverage or destination shows; the frame around the block must
// stay as it was. Coverage v blends the colour at alpha a * v / 256, but a
// whole glyph skips v = 0 and takes v = 255 at a itself; the vector paths
// must give what the portable per-pixel blend gives at that alpha.
TEST(CoverageBlendTest, EveryPixelFollowsTheRuleOfItsDestination)
{
    uint32_t seed = 12345;
    const auto next = [&seed]() { return (seed = seed * 1103515245 + 12345) >> 16; };
    for (const bool destAlpha : {false, true}) {
        for (const Color& c : {Color(0, 0, 0), Color(255, 128, 3), Color(30, 250, 99, 77)}) {
            for (int width = 1; width <= 19; ++width) {
                for (const bool whole : {false, true}) {
                    const int height = 3;
                    const int stride = width + 2;
                    std::vector<unsigned char> coverage(width * height);
                    for (unsigned char& v : coverage)
                        v = next() % 3 == 0 ? (next() % 2) * 255 : next() % 256;
                    std::vector<Pixmap::Pixel> pixels(stride * (height + 2));
                    for (Pixmap::Pixel& p : pixels)
                        p = GraphicsTest::pixel(next() % 256, next() % 256, next() % 256,
                                                destAlpha ? next() % 256 : 255);
                    std::vector<Pixmap::Pixel> want = pixels;
                    for (int y = 0; y < height; ++y) {
                        for (int x = 0; x < width; ++x) {
                            const int v = coverage[y * width + x];
                            if (whole && v == 0)
                                continue;
                            const int alpha = whole && v == 255 ? c.alpha : c.alpha * v / 256;
                            blendColor(want[(y + 1) * stride + x + 1],
                                       Color(c.red, c.green, c.blue, alpha), destAlpha);
                        }
                    }
                    blendCoverage(CoverageBlock{pixels.data() + stride + 1, stride,
                                                coverage.data(), width, width, height},
                                  c, whole, destAlpha);
                    for (size_t i = 0; i < pixels.size(); ++i)
                        ASSERT_EQ(want[i], pixels[i])
                            << (destAlpha ? "alpha" : "opaque") << " width " << width
                            << (whole ? " whole" : " cut") << " at " << i % stride << ","
                            << i / stride << ": " << rgba(pixels[i]);
                }
            }
        }
    }
}
