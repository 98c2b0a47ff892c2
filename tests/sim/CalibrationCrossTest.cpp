#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "CalibrationCross.h"
#include "Screen.h"
#include "graphics/Pixmap.h"

namespace {

const int c_width = sim::ScreenMode::c_width;
const int c_height = sim::ScreenMode::c_height;

struct TestScreen {
    explicit TestScreen(uint32_t background)
        : words(static_cast<size_t>(c_width) * c_height, background)
    {
    }

    // The toolkit's cross centred on (x, y), as a page draws it; its
    // translucent ring is left out.
    void drawCross(int x, int y)
    {
        OKU::Pixmap cross;
        ASSERT_TRUE(cross.loadPNG(GREEN_X_PNG));
        const int left = x - cross.getWidth() / 2;
        const int top = y - cross.getHeight() / 2;
        for (int py = 0; py < cross.getHeight(); ++py)
            for (int px = 0; px < cross.getWidth(); ++px) {
                const OKU::Pixmap::Pixel& p = cross.getPixel(px, py);
                if (p.alpha == 255)
                    at(left + px, top + py) =
                        uint32_t(p.red) << 16 | uint32_t(p.green) << 8 | p.blue;
            }
    }

    void fill(int x, int y, int w, int h, uint32_t rgb)
    {
        for (int py = y; py < y + h; ++py)
            for (int px = x; px < x + w; ++px)
                at(px, py) = rgb;
    }

    uint32_t& at(int x, int y) { return words[static_cast<size_t>(y) * c_width + x]; }

    std::optional<std::pair<int, int>> find() const
    {
        const std::optional<sim::CrossCentre> centre =
            sim::findCalibrationCross(words, c_width, c_height);
        if (!centre)
            return std::nullopt;
        return std::pair(centre->x, centre->y);
    }

    std::vector<uint32_t> words;
};

const uint32_t c_grey = 0xb0b0b0;
const uint32_t c_armGreen = 0x28ce54;

} // namespace

TEST(CalibrationCross, FoundByItsShapeAtItsCentreUpToTheScreensEdges)
{
    TestScreen empty(c_grey);
    EXPECT_EQ(empty.find(), std::nullopt);

    // Where calibration pages put them, and as near the edges as the whole
    // picture fits, on light and dark backgrounds.
    for (const uint32_t background : {c_grey, 0xffffffu, 0x000000u})
        for (const auto& [x, y] : {std::pair(50, 70), std::pair(400, 240), std::pair(749, 429),
                                   std::pair(15, 15), std::pair(784, 464)}) {
            TestScreen screen(background);
            screen.drawCross(x, y);
            EXPECT_EQ(screen.find(), std::pair(x, y)) << x << " " << y << " on " << background;
        }

    // Green that is no cross: a filled square, a bar along each diagonal's
    // direction, and a cross cut off by the screen's edge.
    TestScreen square(c_grey);
    square.fill(100, 100, 40, 40, c_armGreen);
    EXPECT_EQ(square.find(), std::nullopt);
    TestScreen bar(c_grey);
    bar.fill(100, 100, 200, 3, c_armGreen);
    bar.fill(400, 100, 3, 200, c_armGreen);
    EXPECT_EQ(bar.find(), std::nullopt);
    TestScreen cutOff(c_grey);
    cutOff.drawCross(783 + 15, 240);
    EXPECT_EQ(cutOff.find(), std::nullopt);

    // Of two crosses the upper one, beside a green square.
    TestScreen two(c_grey);
    two.fill(600, 20, 60, 60, c_armGreen);
    two.drawCross(700, 429);
    two.drawCross(50, 240);
    EXPECT_EQ(two.find(), std::pair(50, 240));
}
