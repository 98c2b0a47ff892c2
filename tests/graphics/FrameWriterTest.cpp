#include "graphics/FrameWriter.h"

#include "graphics/PixelTestUtil.h"

using namespace OKU;
using namespace GraphicsTest;

namespace {

// Wider and higher than a strip of the turned writers, odd, and different
// along every axis, so that no turn or mirror of it looks like another.
const int c_width = 37;
const int c_height = 45;
const uint32_t c_untouched = 0xFFFFFFFF;

// Device memory of guard bytes: rows of width pixels, each followed by padding.
struct Frame {
    int width;
    int height;
    size_t bytes;
    size_t line;
    std::vector<uint8_t> memory;

    Frame(int w, int h, FramePixelFormat format, size_t padding)
        : width(w), height(h), bytes(bytesPerPixel(format)), line(w * bytes + padding),
          memory(line * h, c_guard)
    {
    }

    uint8_t* at(int x, int y) { return &memory[y * line + x * bytes]; }
};

// A grid of device words, c_untouched where nothing is written.
struct Grid {
    int width;
    int height;
    std::vector<uint32_t> words;

    uint32_t& at(int x, int y) { return words[static_cast<size_t>(y) * width + x]; }
};

// Turns the grid clockwise by rotation, a quarter turn at a time.
Grid turned(Grid grid, int rotation)
{
    for (int quarter = 0; quarter < rotation / 90; ++quarter) {
        Grid next{grid.height, grid.width, std::vector<uint32_t>(grid.words.size())};
        for (int y = 0; y < grid.height; ++y)
            for (int x = 0; x < grid.width; ++x)
                next.at(grid.height - 1 - y, x) = grid.at(x, y);
        grid = next;
    }
    return grid;
}

// The words of the area as an unturned device shows them: what the plain
// writer makes.
Grid unturnedWords(const Pixmap& image, FramePixelFormat format, const Rect& area)
{
    Frame frame(c_width, c_height, format, 0);
    FrameWriter(format, frame.line, c_width, c_height).write(image, Rect(0, 0, c_width, c_height),
                                                             frame.memory.data());
    Grid grid{c_width, c_height, std::vector<uint32_t>(c_width * c_height, c_untouched)};
    for (int y = 0; y < c_height; ++y)
        for (int x = 0; x < c_width; ++x)
            if (area.contains(Point(x, y)))
                grid.at(x, y) = deviceWord(frame.at(x, y), frame.bytes);
    return grid;
}

} // namespace

// The whole picture, from an area larger than the screen, and a dirty area
// alone: each turned as the device shows it, nothing written beside it, the
// padding of every line included.
TEST(FrameWriterTest, EveryRotationAndFormatShowsThePictureOrItsDirtyAreaTurned)
{
    Pixmap image(c_width, c_height, true);
    for (int i = 0; i < c_width * c_height; ++i)
        image.getPixels()[i] = pixel(i * 37, i * 101, i * 59, i * 13);
    for (FramePixelFormat format : {FramePixelFormat::RGB32, FramePixelFormat::BGR16, FramePixelFormat::RGB15})
        for (int rotation : {0, 90, 180, 270})
            for (size_t padding : {0, 12})
                for (const Rect& area : {Rect(-5, -5, c_width + 10, c_height + 10), Rect(3, 30, 33, 7)}) {
                    SCOPED_TRACE("format " + std::to_string(static_cast<int>(format)) + ", " +
                                 std::to_string(rotation) + " degrees, padding " + std::to_string(padding) +
                                 ", area width " + std::to_string(area.width));
                    const Grid expected = turned(unturnedWords(image, format, area), rotation);
                    Frame wanted(expected.width, expected.height, format, padding);
                    Rect written;
                    for (int i = 0; i < expected.width * expected.height; ++i) {
                        const int x = i % expected.width;
                        const int y = i / expected.width;
                        if (expected.words[i] == c_untouched)
                            continue;
                        std::memcpy(wanted.at(x, y), &expected.words[i], wanted.bytes);
                        written.include(Rect(x, y, 1, 1));
                    }

                    Frame frame(expected.width, expected.height, format, padding);
                    const FrameWriter writer(format, frame.line, frame.width, frame.height, rotation);
                    EXPECT_EQ(c_width, writer.getLogicalWidth());
                    EXPECT_EQ(c_height, writer.getLogicalHeight());
                    writer.write(image, area, frame.memory.data());
                    ASSERT_TRUE(wanted.memory == frame.memory);
                    EXPECT_EQ(written, writer.toDevice(area.intersection(Rect(0, 0, c_width, c_height))));
                    EXPECT_TRUE(writer.toDevice(Rect(c_width, 0, 5, 5)).isEmpty());
                }
}
