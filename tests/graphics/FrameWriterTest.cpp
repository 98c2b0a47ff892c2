#include "graphics/FrameWriter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/PixelTestUtil.h"

using namespace OKU;
using namespace GraphicsTest;

namespace {

// Wider and higher than a strip of the turned writers, odd, and different
// along every axis, so that no turn or mirror of it looks like another.
const int c_width = 37;
const int c_height = 45;
const uint8_t c_sentinel = 0xA5;
const uint32_t c_untouched = 0xFFFFFFFF;

Pixmap referencePicture()
{
    Pixmap image(c_width, c_height, true);
    for (int i = 0; i < c_width * c_height; ++i)
        image.getPixels()[i] = pixel(i * 37, i * 101, i * 59, i * 13);
    return image;
}

// A grid of device words (or of anything one word can hold).
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

// A frame of sentinel bytes: the device's rows, each followed by padding.
struct Frame {
    int width;
    int height;
    size_t bytes;
    size_t line;
    std::vector<uint8_t> memory;

    Frame(int w, int h, size_t bytesPerPixel, size_t padding)
        : width(w), height(h), bytes(bytesPerPixel), line(w * bytesPerPixel + padding),
          memory(line * h, c_sentinel)
    {
    }

    // The word at x, y, or c_untouched while every byte is the sentinel.
    uint32_t word(int x, int y) const
    {
        const uint8_t* p = &memory[y * line + x * bytes];
        if (std::count(p, p + bytes, c_sentinel) == static_cast<long>(bytes))
            return c_untouched;
        uint32_t w = 0;
        std::memcpy(&w, p, bytes);
        return w;
    }

    bool paddingUntouched() const
    {
        for (int y = 0; y < height; ++y)
            for (size_t k = width * bytes; k < line; ++k)
                if (memory[y * line + k] != c_sentinel)
                    return false;
        return true;
    }

    Grid words() const
    {
        Grid grid{width, height, {}};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                grid.words.push_back(word(x, y));
        return grid;
    }
};

struct Case {
    FramePixelFormat format;
    int rotation;
    size_t padding; // bytes after each device row
};

std::vector<Case> allCases()
{
    std::vector<Case> cases;
    for (FramePixelFormat format :
         {FramePixelFormat::RGB32, FramePixelFormat::BGR16, FramePixelFormat::RGB15})
        for (int rotation : {0, 90, 180, 270})
            for (size_t padding : {0, 12})
                cases.push_back({format, rotation, padding});
    return cases;
}

std::string describe(const Case& c)
{
    return "format " + std::to_string(static_cast<int>(c.format)) + ", " +
           std::to_string(c.rotation) + " degrees, padding " + std::to_string(c.padding);
}

// The picture as an unturned device shows it: what the plain writer makes.
Grid unturnedWords(const Pixmap& image, FramePixelFormat format)
{
    Frame frame(c_width, c_height, bytesPerPixel(format), 0);
    FrameWriter(format, frame.line, c_width, c_height).write(image, Rect(0, 0, c_width, c_height),
                                                             frame.memory.data());
    return frame.words();
}

Frame writeTurned(const Pixmap& image, const Case& c, const Rect& area)
{
    const bool sideways = c.rotation % 180 != 0;
    Frame frame(sideways ? c_height : c_width, sideways ? c_width : c_height,
                bytesPerPixel(c.format), c.padding);
    const FrameWriter writer(c.format, frame.line, frame.width, frame.height, c.rotation);
    EXPECT_EQ(c_width, writer.getLogicalWidth());
    EXPECT_EQ(c_height, writer.getLogicalHeight());
    writer.write(image, area, frame.memory.data());
    return frame;
}

} // namespace

// The whole picture, from an area larger than the screen, and a dirty area
// alone: each turned as the device shows it, nothing written beside it.
TEST(FrameWriterTest, EveryRotationAndFormatShowsThePictureOrItsDirtyAreaTurned)
{
    const Pixmap image = referencePicture();
    const Rect dirty(3, 30, 33, 7);
    for (const Case& c : allCases()) {
        const Grid all = unturnedWords(image, c.format);
        const Frame whole = writeTurned(image, c, Rect(-5, -5, c_width + 10, c_height + 10));
        ASSERT_EQ(turned(all, c.rotation).words, whole.words().words) << describe(c);
        ASSERT_TRUE(whole.paddingUntouched()) << describe(c);

        Grid inside = all;
        for (int y = 0; y < c_height; ++y)
            for (int x = 0; x < c_width; ++x)
                if (!dirty.contains(Point(x, y)))
                    inside.at(x, y) = c_untouched;
        const Grid expected = turned(inside, c.rotation);
        const Frame frame = writeTurned(image, c, dirty);
        ASSERT_EQ(expected.words, frame.words().words) << describe(c);
        ASSERT_TRUE(frame.paddingUntouched()) << describe(c);
        Rect written;
        for (int i = 0; i < frame.width * frame.height; ++i)
            if (expected.words[i] != c_untouched)
                written.include(Rect(i % frame.width, i / frame.width, 1, 1));
        const FrameWriter writer(c.format, frame.line, frame.width, frame.height, c.rotation);
        EXPECT_EQ(written, writer.toDevice(dirty)) << describe(c);
        EXPECT_TRUE(writer.toDevice(Rect(c_width, 0, 5, 5)).isEmpty()) << describe(c);
    }
}
