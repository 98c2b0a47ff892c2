#include "graphics/detail/FrameWriter.h"

#include "graphics/PixelTestUtil.h"

using namespace OKU;
using namespace GraphicsTest;

namespace {

// Wider and higher than a strip of the turned writers, odd, and different
// along every axis, so that no turn or mirror of it looks like another.
const int c_width = 37;
const int c_height = 45;

// The image turned clockwise by a quarter turn.
Pixmap turned(const Pixmap& image)
{
    Pixmap result(image.getHeight(), image.getWidth(), true);
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            result.getRow(x)[image.getHeight() - 1 - y] = image.getPixel(x, y);
    return result;
}

// The rectangle of an image of that height turned as turned() turns it.
Rect turned(const Rect& r, int height)
{
    return Rect(height - r.bottom(), r.x, r.height, r.width);
}

// The device memory that should hold the device's picture: the words the
// unpadded writer makes of the whole picture, within area only, rows line
// bytes apart, guard bytes elsewhere.
std::vector<uint8_t> expectedFrame(const Pixmap& device, FramePixelFormat format, const Rect& area,
                                   size_t line)
{
    const int w = device.getWidth();
    const size_t bytes = bytesPerPixel(format);
    std::vector<uint8_t> packed(device.getPixelCount() * bytes);
    FrameWriter(format, 0, w, device.getHeight())
        .write(device, Rect(0, 0, w, device.getHeight()), packed.data());
    std::vector<uint8_t> frame(line * device.getHeight(), c_guard);
    for (int y = area.y; y < area.bottom(); ++y)
        std::memcpy(&frame[y * line + area.x * bytes], &packed[(y * w + area.x) * bytes],
                    area.width * bytes);
    return frame;
}

} // namespace

// The whole picture, from an area larger than the screen, and a dirty area
// alone: each turned as the device shows it, nothing written beside it, the
// padding of every line included. What the turned writer makes must be what
// the unpadded writer makes of the picture turned beforehand, in the area
// turned the same way.
TEST(FrameWriterTest, EveryRotationAndFormatShowsThePictureOrItsDirtyAreaTurned)
{
    Pixmap image(c_width, c_height, true);
    for (int i = 0; i < c_width * c_height; ++i)
        image.getPixels()[i] = pixel(i * 37, i * 101, i * 59, i * 13);
    for (FramePixelFormat format :
         {FramePixelFormat::RGB32, FramePixelFormat::BGR16, FramePixelFormat::RGB15})
        for (size_t padding : {0, 12})
            for (const Rect& area :
                 {Rect(-5, -5, c_width + 10, c_height + 10), Rect(3, 30, 33, 7)}) {
                Pixmap device = image;
                Rect deviceArea = area.intersection(Rect(0, 0, c_width, c_height));
                for (int rotation : {0, 90, 180, 270}) {
                    SCOPED_TRACE(testing::Message()
                                 << "format " << static_cast<int>(format) << ", " << rotation
                                 << " degrees, padding " << padding << ", width " << area.width);
                    const int w = device.getWidth();
                    const int h = device.getHeight();
                    const size_t line = w * bytesPerPixel(format) + padding;
                    const std::vector<uint8_t> wanted =
                        expectedFrame(device, format, deviceArea, line);
                    std::vector<uint8_t> frame(line * h, c_guard);
                    const FrameWriter writer(format, line, w, h, rotation);
                    EXPECT_EQ(c_width, writer.getLogicalWidth());
                    EXPECT_EQ(c_height, writer.getLogicalHeight());
                    writer.write(image, area, frame.data());
                    ASSERT_TRUE(wanted == frame);
                    EXPECT_EQ(deviceArea,
                              writer.toDevice(area.intersection(Rect(0, 0, c_width, c_height))));
                    EXPECT_TRUE(writer.toDevice(Rect(c_width, 0, 5, 5)).isEmpty());
                    deviceArea = turned(deviceArea, h);
                    device = turned(device);
                }
            }
}
