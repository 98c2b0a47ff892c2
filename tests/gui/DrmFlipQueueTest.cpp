#include "gui/TestRootWidget.h"
#include "gui/display/detail/DrmFlipQueue.h"

using OKU::Pixmap;
using OKU::Rect;

// Frames of redrawn areas go through the queue as the KMS back end drives
// it: the areas are noted while the previous flip may still be pending, the
// flip is waited for, the back buffer written and shown by a flip or at
// once. Whichever buffer is written must then hold exactly the back buffer,
// with no area written twice in one frame.
TEST(DrmFlipQueue, EveryShownBufferHoldsTheWholeLatestFrame)
{
    // Shown by a flip or else at once.
    const struct { std::vector<Rect> redrawn; bool flip; } frames[] = {
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
    // Tiny screens: the red of every pixel is the number of the frame that drew it last.
    Pixmap backBuffer(16, 8, OKU::Color(0, 0, 0));
    Pixmap buffers[2] = {backBuffer, backBuffer};
    int frameNumber = 0;
    for (const auto& frame : frames) {
        ++frameNumber;
        SCOPED_TRACE("frame " + std::to_string(frameNumber));
        for (const Rect& r : frame.redrawn) {
            backBuffer.drawSolidRect(r.x, r.y, r.width, r.height, OKU::Color(frameNumber, 0, 0));
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
            const Rect& r = written[i];
            buffers[back].drawPixmap(r.x, r.y, backBuffer, r.x, r.y, r.width, r.height);
        }
        EXPECT_TRUE(sameIn(buffers[back], backBuffer, Rect(0, 0, 16, 8)));

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
    EXPECT_EQ(std::make_pair(1, false), std::make_pair(queue.getShown(), queue.isFlipPending()));
    // Buffer 0 still lacks what went into buffer 1.
    EXPECT_EQ(std::vector<Rect>{Rect(0, 0, 4, 4)}, queue.takeBackDamage());
}
