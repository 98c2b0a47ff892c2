#include "graphics/Pixmap.h"

#include "graphics/PixelTestUtil.h"

using namespace OKU;
using namespace GraphicsTest;

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

const Format c_formats[] = {
    {"RGB32", 4, &Pixmap::writeRGB32, &Pixmap::writeRGB32,
     [](const Pixmap::Pixel& p) -> uint32_t {
         return uint32_t(p.red) << 16 | p.green << 8 | p.blue;
     }},
    {"BGR16", 2, &Pixmap::writeBGR16, &Pixmap::writeBGR16,
     [](const Pixmap::Pixel& p) -> uint32_t {
         return (p.red >> 3) << 11 | (p.green >> 2) << 5 | p.blue >> 3;
     }},
    {"RGB15", 2, &Pixmap::writeRGB15, &Pixmap::writeRGB15,
     [](const Pixmap::Pixel& p) -> uint32_t {
         return (p.blue >> 3) << 10 | (p.green >> 3) << 5 | p.red >> 3;
     }},
};

} // namespace

// The words worked out channel by channel are those of the device formats:
// white, the channels below the kept bits, each channel alone, a mix; alpha
// is dropped.
TEST(PixmapWritersTest, ExpectedWordsAreTheDeviceFormats)
{
    const Color colors[] = {Color(255, 255, 255), Color(7, 3, 7), Color(0xF8, 0, 0, 0),
                            Color(0, 0xFC, 0, 17), Color(0x12, 0x34, 0x56, 0x78)};
    const uint32_t expected[][5] = {{0xFFFFFF, 0x070307, 0xF80000, 0x00FC00, 0x123456},
                                    {0xFFFF, 0, 0xF800, 0x07E0, 0x11AA},
                                    {0x7FFF, 0, 0x001F, 0x03E0, 0x28C2}};
    for (int f = 0; f < 3; ++f)
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(expected[f][i], c_formats[f].expected(pixel(colors[i])))
                << c_formats[f].name << " " << i;
}

TEST(PixmapWritersTest, OnlyTheRectangleOrTheWholeImageIsConverted)
{
    // Wide enough for whole blocks of pixels and a tail, in partial rows and
    // in runs of whole rows; pixels differ everywhere, alpha included.
    Pixmap image(41, 5, true);
    for (int i = 0; i < 41 * 5; ++i)
        image.getPixels()[i] = pixel(255 - i * 5, i * 11, i * 37, i * 3);
    const Rect whole(0, 0, 41, 5);
    for (const Format& f : c_formats)
        for (const Rect& r : {Rect(1, 1, 2, 2), Rect(3, 0, 37, 5), Rect(0, 2, 41, 2),
                              Rect(40, 4, 1, 1), Rect(2, 2, 0, 3), whole}) {
            // One word more than the image, for writes past the end.
            std::vector<uint8_t> buffer((41 * 5 + 1) * f.bytes, c_guard);
            if (r == whole)
                (image.*f.writeAll)(buffer.data());
            else
                (image.*f.writeRect)(buffer.data(), r);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 41; ++x)
                    ASSERT_EQ(r.contains(Point(x, y)) ? f.expected(image.getPixel(x, y))
                                                      : 0xFFFFFFFF,
                              deviceWord(&buffer[(y * 41 + x) * f.bytes], f.bytes))
                        << f.name << " at " << x << "," << y << " for " << r.x << "," << r.y << " "
                        << r.width << "x" << r.height;
            ASSERT_EQ(0xFFFFFFFF, deviceWord(&buffer[41 * 5 * f.bytes], f.bytes))
                << f.name << " wrote past the end";
        }
}
