#include "graphics/Pixmap.h"
#include "gui/LoggingWidget.h"

using namespace OKU;

namespace {

const Color c_transparent(0, 0, 0, 0);
const Color c_white(255, 255, 255, 255);
const Color c_red(255, 0, 0, 255);
const Color c_green(0, 255, 0, 255);
const Color c_blue(0, 0, 255, 255);

const Pixmap::Pixel red = rgb(255, 0, 0), green = rgb(0, 255, 0), blue = rgb(0, 0, 255);

Pixmap::Pixel gray(int level)
{
    return rgb(level, level, level);
}

// A widget of the colour that logs its name and "draw" whenever its own draw runs.
Widget* drawProbe(Widget* parent, const Rect& r, const Color& bg, const std::string& name, Log& log)
{
    Widget* w = new LoggingWidget(parent, name, log, LoggingWidget::DRAWING, r);
    w->setBgColor(bg);
    return w;
}

} // namespace

TEST(WidgetDrawTest, RedrawStartsAtTheTopmostOpaqueChildAndSkipsHiddenWidgets)
{
    Log log;
    TestRootWidget root;
    Widget* screen = drawProbe(&root, Rect(0, 0, 100, 100), c_transparent, "screen", log);
    Widget* bottom = drawProbe(screen, Rect(0, 0, 100, 100), c_green, "bottom", log);
    Widget* top = drawProbe(screen, Rect(20, 20, 40, 40), c_red, "top", log);
    drawProbe(screen, Rect(0, 0, 10, 10), c_blue, "hidden", log)->hide();

    root.runPending();
    EXPECT_EQ((Log{"bottom draw", "top draw"}), log);
    EXPECT_EQ((Pixels{green, red, red, green}),
              root.pixels({{5, 5}, {20, 20}, {59, 59}, {60, 60}}));

    // The covered bottom widget is not drawn for a dirty area inside top.
    log.clear();
    top->invalidate();
    root.runPending();
    EXPECT_EQ((Log{"top draw"}), log);

    log.clear();
    top->hide();
    root.runPending();
    EXPECT_EQ(std::make_pair(Log{"bottom draw"}, green), std::make_pair(log, root.pixel(20, 20)));

    // Without an opaque child over the dirty area, drawing starts at the lowest widget.
    log.clear();
    bottom->setBgColor(Color(0, 255, 0, 128));
    root.runPending();
    EXPECT_EQ((Log{"screen draw", "bottom draw"}), log);
}

TEST(WidgetDrawTest, ForegroundAndModalChildrenOfScreensAreDrawnOverAVeil)
{
    TestRootWidget root;
    (new Widget(&root, 0, 0, 100, 100))->setBgColor(c_white);
    Widget* panel = new Widget(&root, 10, 10, 50, 50);
    panel->setBgColor(c_green);
    Widget* dialog = new Widget(panel, 20, 20, 10, 10);
    dialog->setBgColor(c_blue);
    dialog->setForeground(true);

    // An ordinary panel does not dim behind its foreground child.
    const std::initializer_list<Point> where = {{5, 5}, {15, 15}, {35, 35}};
    root.runPending();
    EXPECT_EQ((Pixels{gray(255), green, blue}), root.pixels(where));

    // 255 * (255 - 160) / 256 on a screen without alpha.
    panel->setForeground(true);
    root.runPending();
    EXPECT_EQ((Pixels{gray(94), green, blue}), root.pixels(where));

    panel->setTopLevel();
    root.invalidate();
    root.runPending();
    EXPECT_EQ((Pixels{gray(94), rgb(0, 94, 0), blue}), root.pixels(where));

    // Only the last foreground child gets the veil; everything before it is dimmed once.
    Widget* second = new Widget(panel, 40, 40, 5, 5);
    second->setBgColor(c_red);
    second->setModalMark(true);
    root.invalidate();
    root.runPending();
    EXPECT_EQ((Pixels{gray(94), rgb(0, 94, 0), rgb(0, 0, 94), red}),
              root.pixels({{5, 5}, {15, 15}, {35, 35}, {50, 50}}));
}

TEST(WidgetDrawTest, ShadowFrameLeavesCornersToTheShadow)
{
    Pixmap pm(20, 20, c_white);
    Widget::drawShadowFrame(pm, 2, 2, 10, 8, c_red, Color(0, 0, 0, 128));
    // White under black at 128: 127 * 255 / 256; twice at the lower right.
    const Pixmap::Pixel once = gray(126);
    const struct { int x0, y0, x1, y1; Pixmap::Pixel p; } areas[] = {
        {2, 2, 2, 2, once},          {11, 2, 11, 2, once},        {2, 9, 2, 9, once},
        {11, 9, 11, 9, gray(62)},    {3, 2, 10, 2, red},          {3, 9, 10, 9, red},
        {2, 3, 2, 8, red},           {11, 3, 11, 8, red},         {3, 3, 10, 8, gray(255)},
        {4, 10, 11, 10, once},       {12, 4, 12, 9, once},        {3, 10, 3, 10, gray(255)},
        {12, 10, 12, 10, gray(255)}, {12, 3, 12, 3, gray(255)},
    };
    for (const auto& a : areas)
        for (int y = a.y0; y <= a.y1; ++y)
            for (int x = a.x0; x <= a.x1; ++x)
                EXPECT_EQ(a.p, pm.getPixel(x, y)) << x << "," << y;

    pm.clear(c_white);
    Widget::drawShadowFrame(pm, 2, 2, 10, 8);
    EXPECT_EQ((Pixels{gray(96), gray(222)}), (Pixels{pm.getPixel(5, 2), pm.getPixel(2, 2)}));
}
