#include "gui/DialogHarness.h"
#include "gui/layout/StackSizer.h"
#include "gui/widgets/Frame.h"
#include "gui/windows/Screen.h"
#include "gui/windows/WaitingBox.h"

using namespace OKU;

// Message boxes are pictured by DialogTest, where they are answered.
TEST(ScreenshotTest, NestedFramesWaitingBoxAndButtonLooks)
{
    TestRootWidget root(480, 320);
    ContainerWidget* parent = new Screen(&root);
    for (const wchar_t* title : {L"Outer", L"Middle", L"Inner"}) {
        Frame* frame = new Frame(parent, LString(title), HAlign::LEFT);
        parent->setSizer(std::make_shared<StackSizer>(frame));
        parent = frame;
    }
    root.runPending();
    saveScreenshot(root.getPixmapCopy(), "frames.png");
    new WaitingBox(&root, L"Emergency Backup", L"Performing emergency backup.", -1);
    root.runPending();
    saveScreenshot(root.getPixmapCopy(), "waiting-box.png");

    // Up, down, up disabled and down disabled; only disabled labels are grey.
    Button* button = Theme::g()->createOkButton(&root);
    Pixmap looks(450, 60, Color(192, 192, 192));
    for (int state = 0; state < 4; ++state) {
        const int x0 = 10 + 110 * state;
        button->draw(looks, x0, 10, 100, 40, L"OK", state < 2, state % 2, Layout::LTR);
        const Rect grey = boxOf(looks, Rect(x0, 30, 100, 1),
                                [](const Pixmap::Pixel& p) { return p == rgb(128, 128, 128); });
        EXPECT_EQ(state >= 2, !grey.isEmpty()) << state;
    }
    saveScreenshot(looks, "buttons.png");
}
