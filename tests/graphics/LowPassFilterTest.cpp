#include <gtest/gtest.h>

#include "graphics/PixelTestUtil.h"

using namespace OKU;
using namespace GraphicsTest;

TEST(LowPassFilterTest, FiltersClampEdgesRoundAndSaturate)
{
    // The kernel of fc 0.25 and 2 taps is h = 2fc, sin(2 pi fc) / pi * (0.54 +
    // 0.46 cos(pi / 2)), divided by 2s - h[0]: 0.5926 and 0.2037. So 0.2037 *
    // (0 + 100), 0.5926 * 100 + 0.2037 * 200, 0.5926 * 200 + 0.2037 * (100 + 200).
    EXPECT_EQ(Rows({{20, 100, 180}}), rowsOf(mapOf({{0, 100, 200}}).lowPassFilterX(0.25f, 2)));
    EXPECT_EQ(Rows({{20}, {100}, {180}}),
              rowsOf(mapOf({{0}, {100}, {200}}).lowPassFilterY(0.25f, 2)));

    // The ringing of a sharp kernel at a step goes below 0 and above 255.
    std::vector<int> step(20, 0);
    std::fill(step.begin() + 10, step.end(), 255);
    EXPECT_EQ(Rows({{0,   0,   0,   0,   0,   0,   3,   22,  56,  102,
                     153, 199, 233, 252, 255, 255, 255, 255, 255, 255}}),
              rowsOf(mapOf({step}).lowPassFilterX(0.1f, 8)));

    // 255 times h0 * h0, h0 * h1 and h1 * h1 for fc 0.25 and 2 taps; alpha
    // is filtered the same way.
    Graymap impulse(3, 3, true);
    impulse.clear(0);
    impulse.getRow(1)[1] = 255;
    std::fill(impulse.getAlpha(), impulse.getAlpha() + 9, 0);
    impulse.getAlphaRow(1)[1] = 255;
    const Graymap result = impulse.lowPassFilter2(0.25f, 0.25f, 2);
    EXPECT_EQ(Rows({{11, 31, 11}, {31, 90, 31}, {11, 31, 11}}), rowsOf(result));
    ASSERT_TRUE(result.hasAlpha());
    EXPECT_TRUE(std::equal(result.getPixels(), result.getPixels() + 9, result.getAlpha()));
}

TEST(LowPassFilterTest, LowPassFilterChoosesTheDirections)
{
    const Graymap map = randomMap(9, 6, true, 7);
    // A single tap is the kernel [1]; cut-offs of 0.5 and more pass all.
    EXPECT_EQ(map, map.lowPassFilterX(0.3f, 1));
    EXPECT_EQ(map, map.lowPassFilterY(0.3f, 1));
    EXPECT_EQ(map, map.lowPassFilter2(0.2f, 0.3f, 1));
    for (int taps : {0, 1, 5})
        EXPECT_EQ(map, map.lowPassFilter(0.5f, 0.5f, taps));
    EXPECT_EQ(map.lowPassFilter2(0.2f, 0.49f, 5), map.lowPassFilter(0.2f, 0.49f, 5));
    EXPECT_EQ(map.lowPassFilterX(0.2f, 5), map.lowPassFilter(0.2f, 0.7f, 5));
    EXPECT_EQ(map.lowPassFilterY(0.3f, 5), map.lowPassFilter(0.5f, 0.3f, 5));
    EXPECT_NE(map, map.lowPassFilterY(0.3f, 5));

    // Degenerate arguments give well-defined maps.
    Graymap zero(9, 6, true);
    zero.clear(0);
    std::fill(zero.getAlpha(), zero.getAlpha() + 54, 0);
    EXPECT_EQ(zero, map.lowPassFilterX(0.3f, 0));
    EXPECT_EQ(zero, map.lowPassFilterX(0.0f, 3));
    EXPECT_TRUE(Graymap().lowPassFilter2(0.1f, 0.1f, 3).isEmpty());
}

TEST(LowPassFilterTest, PixmapFiltersAndScalesEveryByteOnItsOwn)
{
    const auto apply = [](const auto& image, int operation) {
        switch (operation) {
        case 0: return image.lowPassFilterX(0.2f, 4);
        case 1: return image.lowPassFilterY(0.3f, 3);
        case 2: return image.lowPassFilter2(0.2f, 0.35f, 4);
        case 3: return image.lowPassFilter(0.45f, 0.5f, 6);
        case 4: return image.scaleNearest(5, 13);
        default: return image.scaleBilinear(6, 9, 4);
        }
    };
    // One byte of every pixel as a gray map.
    const auto channel = [](const Pixmap& pixmap, uint8_t Pixmap::Pixel::*byte) {
        Graymap map(pixmap.getWidth(), pixmap.getHeight(), false);
        for (size_t i = 0; i < pixmap.getPixelCount(); ++i)
            map.getPixels()[i] = pixmap.getPixels()[i].*byte;
        return map;
    };
    uint8_t Pixmap::Pixel::*const bytes[] = {&Pixmap::Pixel::blue, &Pixmap::Pixel::green,
                                             &Pixmap::Pixel::red, &Pixmap::Pixel::alpha};
    std::mt19937 random(8);
    for (bool alpha : {false, true}) {
        Pixmap pixmap(11, 7, alpha);
        for (size_t i = 0; i < pixmap.getPixelCount(); ++i)
            pixmap.getPixels()[i] = {static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                                     static_cast<uint8_t>(random()),
                                     static_cast<uint8_t>(alpha ? random() : 255)};
        for (int operation = 0; operation < 6; ++operation) {
            const Pixmap result = apply(pixmap, operation);
            EXPECT_EQ(alpha, result.hasAlpha()) << operation;
            // Without alpha every alpha byte stays 255.
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(apply(channel(pixmap, bytes[i]), operation), channel(result, bytes[i]))
                    << operation << " " << i;
        }
    }
}
