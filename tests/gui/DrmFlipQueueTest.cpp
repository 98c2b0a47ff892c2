#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gui/DrmFlipQueue.h"

using OKU::Rect;

namespace {

// A tiny screen: every pixel holds the number of the frame that drew it last.
class Screen {
public:
    Screen() : m_pixels(c_width * c_height, 0) {}

    void paint(const Rect& r, int frame)
    {
        for (int y = r.y; y < r.bottom(); ++y)
            for (int x = r.x; x < r.right(); ++x)
                m_pixels[y * c_width + x] = frame;
    }
    void copy(const Screen& from, const Rect& r)
    {
        for (int y = r.y; y < r.bottom(); ++y)
            for (int x = r.x; x < r.right(); ++x)
                m_pixels[y * c_width + x] = from.m_pixels[y * c_width + x];
    }
    bool operator==(const Screen& o) const { return m_pixels == o.m_pixels; }

    static const int c_width = 16;
    static const int c_height = 8;

private:
    std::vector<int> m_pixels;
};

} // namespace

// Frames of redrawn areas go through the queue as the KMS back end drives
// it: the areas are noted while the previous flip may still be pending, the
// flip is waited for, the back buffer written and shown by a flip or at
// once. Whichever buffer is written must then hold exactly the back buffer,
// with no area written twice in one frame.
TEST(DrmFlipQueue, EveryShownBufferHoldsTheWholeLatestFrame)
{
    const struct {
        std::vector<Rect> redrawn;
        bool flip; // else shown at once
    } frames[] = {
        {{Rect(0, 0, 16, 8)}, true},
        {{Rect(2, 2, 3, 3)}, true},
        // Buffer 0 lacks this frame's areas and 2,2,3,3 of the frame before.
        {{Rect(8, 0, 4, 4), Rect(9, 1, 2, 2)}, true},
        {{Rect(0, 4, 16, 4)}, false},
        {{Rect(1, 1, 2, 2), Rect(0, 0, 4, 4)}, true},
        {{}, true},
        {{Rect(15, 7, 1, 1)}, false},
        {{Rect(5, 5, 1, 1)}, true},
        {{Rect(6, 6, 1, 1)}, true},
    };
    OKU::DrmFlipQueue queue;
    Screen backBuffer;
    Screen buffers[2];
    int frameNumber = 0;
    for (const auto& frame : frames) {
        ++frameNumber;
        SCOPED_TRACE("frame " + std::to_string(frameNumber));
        for (const Rect& r : frame.redrawn) {
            backBuffer.paint(r, frameNumber);
            queue.addDamage(r);
        }
        if (queue.isFlipPending()) {
            ASSERT_TRUE(queue.flipDone());
        }
        const int shown = queue.getShown();
        const int back = queue.getBack();
        ASSERT_NE(shown, back);
        const std::vector<Rect> written = queue.takeBackDamage();
        for (size_t i = 0; i < written.size(); ++i) {
            for (size_t j = 0; j < written.size(); ++j)
                EXPECT_TRUE(i == j || !written[i].contains(written[j]));
            buffers[back].copy(backBuffer, written[i]);
        }
        EXPECT_TRUE(buffers[back] == backBuffer);

        if (frame.flip) {
            queue.flipQueued();
            EXPECT_TRUE(queue.isFlipPending());
            EXPECT_EQ(shown, queue.getShown());
        } else {
            queue.shownNow();
            EXPECT_EQ(back, queue.getShown());
        }
    }
}

// An event that arrives after its flip was given up for lost changes nothing.
TEST(DrmFlipQueue, LateFlipEventIsIgnored)
{
    OKU::DrmFlipQueue queue;
    queue.addDamage(Rect(0, 0, 4, 4));
    queue.takeBackDamage();
    queue.flipQueued();
    ASSERT_TRUE(queue.flipDone());
    EXPECT_FALSE(queue.flipDone());
    EXPECT_EQ(1, queue.getShown());
    EXPECT_FALSE(queue.isFlipPending());
    // Buffer 0 still lacks what went into buffer 1.
    const std::vector<Rect> missing = queue.takeBackDamage();
    ASSERT_EQ(1u, missing.size());
    EXPECT_EQ(Rect(0, 0, 4, 4), missing[0]);
}
