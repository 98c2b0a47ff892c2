#include "graphics/CoverageBlend.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "PixelTestUtil.h"

using namespace OKU;
using GraphicsTest::rgba;

namespace {

// The colour blend of one pixel at alpha a, written out from the rules.
Pixmap::Pixel expectedBlend(Pixmap::Pixel d, const Color& c, int a, bool destAlpha)
{
    const Pixmap::Pixel colour = GraphicsTest::pixel(c.red, c.green, c.blue, a);
    if (destAlpha && (d.alpha == 0 || a >= 255))
        return colour;
    if (!destAlpha && a >= 255)
        return GraphicsTest::pixel(c.red, c.green, c.blue, 255);
    if (a <= 0)
        return d;
    const int D = destAlpha ? 255 * (a + d.alpha) - a * d.alpha : 0;
    const auto channel = [&](int s, int dc) {
        return static_cast<uint8_t>(destAlpha ? (255 * a * s + (255 - a) * d.alpha * dc) / D
                                              : (a * s + (255 - a) * dc) >> 8);
    };
    return Pixmap::Pixel{channel(c.blue, d.blue), channel(c.green, d.green),
                         channel(c.red, d.red),
                         static_cast<uint8_t>(destAlpha ? D / 255 : d.alpha)};
}

} // namespace

// Blocks of every width up to two groups of eight plus the rest, over pixels
// and coverage that differ everywhere, so that a pixel blended with its
// neighbour's coverage or destination shows; the frame around the block must
// stay as it was.
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
                            Pixmap::Pixel& w = want[(y + 1) * stride + x + 1];
                            if (!whole)
                                w = expectedBlend(w, c, c.alpha * v / 256, destAlpha);
                            else if (v != 0)
                                w = expectedBlend(w, c, v == 255 ? c.alpha : c.alpha * v / 256,
                                                  destAlpha);
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
