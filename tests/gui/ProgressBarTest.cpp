#include "gui/widgets/ProgressBar.h"

#include "gui/TestRootWidget.h"

using namespace OKU;

namespace {

// A bar 102 pixels wide, so 100 inside its frame, on a root of its own.
struct BarRig {
    explicit BarRig(Layout layout)
    {
        bar->setGeometry(0, 0, 102, 20);
        bar->setLayout(layout);
        root.runPending();
    }
    Color at(int x)
    {
        root.runPending();
        const Pixmap::Pixel p = root.getPixmapCopy().getPixel(x, 10);
        return Color(p.red, p.green, p.blue, p.alpha);
    }

    TestRootWidget root{102, 20};
    ProgressBar* bar = new ProgressBar(&root);
};

} // namespace

TEST(ProgressBarTest, FilledWidthIsFullOnlyWhenTheWorkIs)
{
    BarRig rig(Layout::LTR);
    const unsigned long long huge = 1ULL << 62;
    const struct { unsigned long long done, total; int filled; } cases[] = {
        {0, 0, -1},         {5, 0, -1},         {0, 1000, 0},           {9, 1000, 0},
        {10, 1000, 1},      {999, 1000, 99},    {1000, 1000, 100},      {5000, 1000, 100},
        {huge - 1, huge, 99}, {huge / 2, huge, 50}, {~0ULL, ~0ULL, 100},
    };
    for (const auto& c : cases) {
        rig.bar->setProgress(c.done, c.total);
        EXPECT_EQ(c.filled, rig.bar->getFilledWidth()) << c.done << " of " << c.total;
    }
}

TEST(ProgressBarTest, AmountsFillFromTheReadingStartAndTheUnknownBlockMovesInItsOwnColour)
{
    for (Layout layout : {Layout::LTR, Layout::RTL}) {
        BarRig rig(layout);
        const bool ltr = layout == Layout::LTR;
        rig.bar->setProgress(25, 100);
        // Pixels 1..25 from the start side are filled, the 26th is not.
        EXPECT_EQ(ProgressBar::s_defaultBarColor, rig.at(ltr ? 25 : 76));
        EXPECT_EQ(ProgressBar::s_defaultTroughColor, rig.at(ltr ? 26 : 75));
        EXPECT_EQ(ProgressBar::s_defaultFrameColor, rig.at(0));

        rig.bar->setProgress(0, 0);
        EXPECT_EQ(ProgressBar::s_defaultPulseColor, rig.at(ltr ? 1 : 100));
        EXPECT_EQ(ProgressBar::s_defaultTroughColor, rig.at(ltr ? 100 : 1));
        // Sixteen pulses take the block across to the other end.
        for (int i = 0; i < 16; ++i)
            rig.bar->pulse();
        EXPECT_EQ(ProgressBar::s_defaultTroughColor, rig.at(ltr ? 1 : 100));
        EXPECT_EQ(ProgressBar::s_defaultPulseColor, rig.at(ltr ? 100 : 1));
    }
}
