#include "graphics/Pixmap.h"

#include "graphics/PixelLoopTestUtil.h"
#include "graphics/PixelTestUtil.h"
#include "graphics/detail/PixmapWriterFormats.h"

using namespace OKU;
using namespace GraphicsTest;

namespace {

// One device format: its writers and the word a pixel must become, worked
// out channel by channel: alpha is dropped, the bits below those kept too.
struct Format {
    const char* name;
    WriterFormat format;
    int bytes;
    void (Pixmap::*writeRect)(void*, const Rect&) const;
    void (Pixmap::*writeAll)(void*) const;
    uint32_t (*expected)(const Pixmap::Pixel&);
};

const Format c_formats[] = {
    {"RGB32", WriterFormat::RGB32, 4, &Pixmap::writeRGB32, &Pixmap::writeRGB32,
     [](const Pixmap::Pixel& p) -> uint32_t {
         return uint32_t(p.red) << 16 | p.green << 8 | p.blue;
     }},
    {"BGR16", WriterFormat::BGR16, 2, &Pixmap::writeBGR16, &Pixmap::writeBGR16,
     [](const Pixmap::Pixel& p) -> uint32_t {
         return (p.red >> 3) << 11 | (p.green >> 2) << 5 | p.blue >> 3;
     }},
    {"RGB15", WriterFormat::RGB15, 2, &Pixmap::writeRGB15, &Pixmap::writeRGB15,
     [](const Pixmap::Pixel& p) -> uint32_t {
         return (p.blue >> 3) << 10 | (p.green >> 3) << 5 | p.red >> 3;
     }},
};

} // namespace

class PixmapWritersTest : public PixelLoopLevelTest {};
OKU_INSTANTIATE_FOR_EVERY_LEVEL(PixmapWritersTest);

TEST_P(PixmapWritersTest, OnlyTheRectangleOrTheWholeImageIsConverted)
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
            // One word more than the image, for writes past the end; the words
            // are stored least significant byte first.
            std::vector<uint8_t> expected((41 * 5 + 1) * f.bytes, c_guard);
            for (int y = r.y; y < r.bottom(); ++y)
                for (int x = r.x; x < r.right(); ++x) {
                    const uint32_t word = f.expected(image.getPixel(x, y));
                    std::memcpy(&expected[(y * 41 + x) * f.bytes], &word, f.bytes);
                }
            std::vector<uint8_t> buffer(expected.size(), c_guard);
            if (r == whole)
                (image.*f.writeAll)(buffer.data());
            else
                (image.*f.writeRect)(buffer.data(), r);
            EXPECT_EQ(expected, buffer) << f.name << " for " << r.x << "," << r.y << " "
                                        << r.width << "x" << r.height;
        }
}

// Runs of every length up to a few blocks of the widest loop, from and to
// anywhere in a vector: every word as the format makes it of its pixel, the
// bytes around the run left alone.
TEST_P(PixmapWritersTest, RunsOfEveryLengthFollowThePerPixelRule)
{
    std::mt19937 random(99);
    const auto below = [&random](int n) { return static_cast<int>(random() % n); };
    for (const Format& f : c_formats)
        for (int count = 0; count <= 70; ++count) {
            const int srcStart = below(8);
            const int dstStart = below(8);
            std::vector<Pixmap::Pixel> src(srcStart + count);
            for (Pixmap::Pixel& p : src)
                p = pixel(below(256), below(256), below(256), below(256));
            std::vector<uint8_t> expected((dstStart + count + 1) * f.bytes, c_guard);
            for (int i = 0; i < count; ++i) {
                const uint32_t word = f.expected(src[srcStart + i]);
                std::memcpy(&expected[(dstStart + i) * f.bytes], &word, f.bytes);
            }
            std::vector<uint8_t> buffer(expected.size(), c_guard);
            convertPixels(f.format, buffer.data() + dstStart * f.bytes, src.data() + srcStart,
                          count);
            EXPECT_EQ(expected, buffer) << f.name << ", " << count << " pixels from " << srcStart
                                        << " to " << dstStart;
        }
}
