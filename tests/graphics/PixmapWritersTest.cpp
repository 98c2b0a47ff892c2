#include "graphics/Pixmap.h"

#include <cstdio>
#include <vector>

#include <gtest/gtest.h>

using namespace OKU;

namespace {

// One device format: its writers and the word a pixel must become, worked
// out channel by channel.
struct Format {
    const char* name;
    int bytes;
    void (Pixmap::*writeRect)(void*, const Rect&) const;
    void (Pixmap::*writeAll)(void*) const;
    uint32_t (*expected)(const Pixmap::Pixel&);
};

uint32_t rgb32(const Pixmap::Pixel& p)
{
    return static_cast<uint32_t>(p.red) << 16 | p.green << 8 | p.blue;
}

uint32_t bgr16(const Pixmap::Pixel& p)
{
    return (p.red >> 3) << 11 | (p.green >> 2) << 5 | p.blue >> 3;
}

uint32_t rgb15(const Pixmap::Pixel& p)
{
    return (p.blue >> 3) << 10 | (p.green >> 3) << 5 | p.red >> 3;
}

const Format c_formats[] = {
    {"RGB32", 4, &Pixmap::writeRGB32, &Pixmap::writeRGB32, rgb32},
    {"BGR16", 2, &Pixmap::writeBGR16, &Pixmap::writeBGR16, bgr16},
    {"RGB15", 2, &Pixmap::writeRGB15, &Pixmap::writeRGB15, rgb15},
};

const uint8_t c_guard = 0xA5;

uint32_t wordAt(const std::vector<uint8_t>& buffer, int index, int bytes)
{
    uint32_t word = 0;
    for (int k = bytes - 1; k >= 0; --k)
        word = word << 8 | buffer[index * bytes + k];
    return word;
}

bool untouched(const std::vector<uint8_t>& buffer, int index, int bytes)
{
    for (int k = 0; k < bytes; ++k)
        if (buffer[index * bytes + k] != c_guard)
            return false;
    return true;
}

// Pixels that differ everywhere, alpha included.
Pixmap varied(int width, int height)
{
    Pixmap p(width, height, true);
    for (int i = 0; i < width * height; ++i)
        p.getPixels()[i] = Pixmap::Pixel{static_cast<uint8_t>(i * 37), static_cast<uint8_t>(i * 11),
                                         static_cast<uint8_t>(255 - i * 5),
                                         static_cast<uint8_t>(i * 3)};
    return p;
}

// Converts r into a guarded buffer and checks every position: converted
// inside r, untouched elsewhere.
void checkRect(const Format& f, const Pixmap& image, const Rect& r)
{
    const int count = image.getWidth() * image.getHeight();
    std::vector<uint8_t> buffer(static_cast<size_t>(count) * f.bytes, c_guard);
    (image.*f.writeRect)(buffer.data(), r);
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x) {
            const int index = y * image.getWidth() + x;
            if (r.contains(Point(x, y)))
                ASSERT_EQ(f.expected(image.getPixel(x, y)), wordAt(buffer, index, f.bytes))
                    << f.name << " at " << x << "," << y;
            else
                ASSERT_TRUE(untouched(buffer, index, f.bytes))
                    << f.name << " wrote outside the rectangle at " << x << "," << y;
        }
}

} // namespace

TEST(PixmapWritersTest, PixelsBecomeDeviceWords)
{
    // White, the channels below the kept bits, each channel alone, a mix.
    Pixmap p(5, 1, true);
    p.getPixels()[0] = Pixmap::Pixel{255, 255, 255, 255};
    p.getPixels()[1] = Pixmap::Pixel{7, 3, 7, 255};
    p.getPixels()[2] = Pixmap::Pixel{0, 0, 0xF8, 0};
    p.getPixels()[3] = Pixmap::Pixel{0, 0xFC, 0, 17};
    p.getPixels()[4] = Pixmap::Pixel{0x56, 0x34, 0x12, 0x78};

    uint32_t words32[5];
    p.writeRGB32(words32);
    EXPECT_EQ(0x00FFFFFFu, words32[0]);
    EXPECT_EQ(0x00070307u, words32[1]);
    EXPECT_EQ(0x00123456u, words32[4]) << "alpha is dropped";

    uint16_t words16[5];
    p.writeBGR16(words16);
    EXPECT_EQ(0xFFFF, words16[0]);
    EXPECT_EQ(0, words16[1]);
    EXPECT_EQ(0xF800, words16[2]);
    EXPECT_EQ(0x07E0, words16[3]);
    EXPECT_EQ(0x11AA, words16[4]);

    p.writeRGB15(words16);
    EXPECT_EQ(0x7FFF, words16[0]);
    EXPECT_EQ(0, words16[1]);
    EXPECT_EQ(0x001F, words16[2]);
    EXPECT_EQ(0x03E0, words16[3]);
    EXPECT_EQ(0x28C2, words16[4]) << "blue in the top bits";
}

TEST(PixmapWritersTest, OnlyTheRectangleIsConverted)
{
    // Wide enough for whole blocks of pixels and a tail, in partial rows and
    // in runs of whole rows.
    const Pixmap image = varied(41, 5);
    for (const Format& f : c_formats) {
        checkRect(f, image, Rect(1, 1, 2, 2));
        checkRect(f, image, Rect(3, 0, 37, 5));
        checkRect(f, image, Rect(0, 2, 41, 2));
        checkRect(f, image, Rect(40, 4, 1, 1));
        checkRect(f, image, Rect(2, 2, 0, 3));
    }
}

TEST(PixmapWritersTest, WholeImageFormsConvertEveryPixel)
{
    const Pixmap image = varied(19, 3);
    for (const Format& f : c_formats) {
        std::vector<uint8_t> buffer(19 * 3 * f.bytes + f.bytes, c_guard);
        (image.*f.writeAll)(buffer.data());
        for (int i = 0; i < 19 * 3; ++i)
            ASSERT_EQ(f.expected(image.getPixels()[i]), wordAt(buffer, i, f.bytes))
                << f.name << " pixel " << i;
        EXPECT_TRUE(untouched(buffer, 19 * 3, f.bytes)) << f.name << " wrote past the end";
    }
}
