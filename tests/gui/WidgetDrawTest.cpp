#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Trace.h"
#include "graphics/Pixmap.h"
#include "gui/TestRootWidget.h"

using namespace OKU;

namespace {

typedef std::vector<std::string> Log;

const Color c_transparent(0, 0, 0, 0);
const Color c_white(255, 255, 255, 255);
const Color c_red(255, 0, 0, 255);
const Color c_green(0, 255, 0, 255);
const Color c_blue(0, 0, 255, 255);

// Pixels are stored blue, green, red, alpha.
Pixmap::Pixel pixel(int red, int green, int blue)
{
    return Pixmap::Pixel{static_cast<uint8_t>(blue), static_cast<uint8_t>(green),
                         static_cast<uint8_t>(red), 255};
}

Pixmap::Pixel gray(int level)
{
    return pixel(level, level, level);
}

// Writes its name into a shared log whenever its own draw runs.
class DrawProbe : public Widget {
public:
    DrawProbe(Widget* parent, const Rect& r, const Color& bg, const std::string& name, Log& log)
        : Widget(parent, r.x, r.y, r.width, r.height), m_name(name), m_log(log)
    {
        setBgColor(bg);
    }

    void draw(Painter& p) override
    {
        m_log.push_back(m_name);
        Widget::draw(p);
    }

private:
    std::string m_name;
    Log& m_log;
};

// A type with internal linkage, named with its namespace.
class TracedWidget : public Widget {
public:
    using Widget::Widget;
};

} // namespace

TEST(WidgetDrawTest, RedrawStartsAtTheTopmostOpaqueChildAndSkipsHiddenWidgets)
{
    Log log;
    TestRootWidget root;
    Widget* screen = new DrawProbe(&root, Rect(0, 0, 100, 100), c_transparent, "screen", log);
    Widget* bottom = new DrawProbe(screen, Rect(0, 0, 100, 100), c_green, "bottom", log);
    Widget* top = new DrawProbe(screen, Rect(20, 20, 40, 40), c_red, "top", log);
    Widget* hidden = new DrawProbe(screen, Rect(0, 0, 10, 10), c_blue, "hidden", log);
    hidden->hide();

    // A full redraw finds the opaque bottom widget and draws only from there up.
    root.runPending();
    EXPECT_EQ((Log{"bottom", "top"}), log);
    EXPECT_EQ(pixel(0, 255, 0), root.pixel(5, 5));
    EXPECT_EQ(pixel(255, 0, 0), root.pixel(20, 20));
    EXPECT_EQ(pixel(255, 0, 0), root.pixel(59, 59));
    EXPECT_EQ(pixel(0, 255, 0), root.pixel(60, 60));

    // Inside the top widget nothing below it is drawn.
    log.clear();
    top->invalidate();
    root.runPending();
    EXPECT_EQ((Log{"top"}), log);

    log.clear();
    top->hide();
    root.runPending();
    EXPECT_EQ((Log{"bottom"}), log);
    EXPECT_EQ(pixel(0, 255, 0), root.pixel(20, 20));

    // A dirty area that no opaque child covers is drawn from the lowest widget.
    log.clear();
    bottom->setBgColor(Color(0, 255, 0, 128));
    root.runPending();
    EXPECT_EQ((Log{"screen", "bottom"}), log);
}

TEST(WidgetDrawTest, DrawTreeIfSolidDrawsOnlyWhatCoversTheWholeClip)
{
    Log log;
    DrawProbe* box = new DrawProbe(nullptr, Rect(10, 10, 30, 30), c_white, "box", log);
    new DrawProbe(box, Rect(5, 5, 10, 10), c_green, "inner", log);
    DrawProbe* over = new DrawProbe(box, Rect(0, 0, 30, 30), c_transparent, "over", log);
    Pixmap pm(50, 50, false);

    pm.setClipRectAbs(Rect(10, 10, 30, 30));
    EXPECT_TRUE(box->drawTreeIfSolid(pm));
    EXPECT_EQ((Log{"box", "inner", "over"}), log);
    EXPECT_EQ(Point(0, 0), pm.getOffset());
    EXPECT_EQ(Rect(10, 10, 30, 30), pm.getClipRectAbs());
    EXPECT_EQ(pixel(255, 255, 255), pm.getPixel(10, 10));
    EXPECT_EQ(pixel(0, 255, 0), pm.getPixel(15, 15));

    // The widget must lie wholly inside the clip.
    log.clear();
    pm.setClipRectAbs(Rect(10, 10, 20, 20));
    EXPECT_FALSE(box->drawTreeIfSolid(pm));
    EXPECT_TRUE(log.empty());

    pm.setClipRectAbs(Rect(10, 10, 30, 30));
    box->setBgColor(c_transparent);
    EXPECT_FALSE(box->drawTreeIfSolid(pm));
    EXPECT_TRUE(log.empty());

    over->setBgColor(c_red);
    EXPECT_TRUE(box->drawTreeIfSolid(pm));
    EXPECT_EQ((Log{"over"}), log);

    box->armageddon();
}

TEST(WidgetDrawTest, ForegroundAndModalChildrenOfScreensAreDrawnOverAVeil)
{
    TestRootWidget root;
    Widget* backdrop = new Widget(&root, 0, 0, 100, 100);
    backdrop->setBgColor(c_white);
    Widget* panel = new Widget(&root, 10, 10, 50, 50);
    panel->setBgColor(c_green);
    Widget* dialog = new Widget(panel, 20, 20, 10, 10);
    dialog->setBgColor(c_blue);
    dialog->setForeground(true);

    // An ordinary panel does not dim behind its foreground child.
    root.runPending();
    EXPECT_EQ(gray(255), root.pixel(5, 5));
    EXPECT_EQ(pixel(0, 255, 0), root.pixel(15, 15));
    EXPECT_EQ(pixel(0, 0, 255), root.pixel(35, 35));

    // 255 * (255 - 160) / 256 on a screen without alpha.
    panel->setForeground(true);
    root.runPending();
    EXPECT_EQ(gray(94), root.pixel(5, 5));
    EXPECT_EQ(pixel(0, 255, 0), root.pixel(15, 15));

    panel->setTopLevel();
    root.invalidate();
    root.runPending();
    EXPECT_EQ(gray(94), root.pixel(5, 5));
    EXPECT_EQ(pixel(0, 94, 0), root.pixel(15, 15));
    EXPECT_EQ(pixel(0, 0, 255), root.pixel(35, 35));

    // Only the last foreground child gets the veil; everything before it is
    // dimmed once.
    Widget* second = new Widget(panel, 40, 40, 5, 5);
    second->setBgColor(c_red);
    root.runPending();
    EXPECT_EQ(pixel(0, 0, 255), root.pixel(35, 35));
    second->setModalMark(true);
    root.invalidate();
    root.runPending();
    EXPECT_EQ(pixel(0, 0, 94), root.pixel(35, 35));
    EXPECT_EQ(pixel(0, 94, 0), root.pixel(15, 15));
    EXPECT_EQ(pixel(255, 0, 0), root.pixel(50, 50));
    EXPECT_EQ(gray(94), root.pixel(5, 5));
}

TEST(WidgetDrawTest, ShadowFrameLeavesCornersToTheShadow)
{
    Pixmap pm(20, 20, c_white);
    Widget::drawShadowFrame(pm, 2, 2, 10, 8, c_red, Color(0, 0, 0, 128));
    // White under black at 128: 127 * 255 / 256; twice at the lower right.
    const Pixmap::Pixel once = gray(126);
    const Pixmap::Pixel twice = gray(62);
    const Pixmap::Pixel red = pixel(255, 0, 0);
    const Pixmap::Pixel white = gray(255);

    EXPECT_EQ(once, pm.getPixel(2, 2));
    EXPECT_EQ(once, pm.getPixel(11, 2));
    EXPECT_EQ(once, pm.getPixel(2, 9));
    EXPECT_EQ(twice, pm.getPixel(11, 9));
    for (int x = 3; x <= 10; ++x) {
        EXPECT_EQ(red, pm.getPixel(x, 2)) << x;
        EXPECT_EQ(red, pm.getPixel(x, 9)) << x;
    }
    for (int y = 3; y <= 8; ++y) {
        EXPECT_EQ(red, pm.getPixel(2, y)) << y;
        EXPECT_EQ(red, pm.getPixel(11, y)) << y;
        EXPECT_EQ(white, pm.getPixel(5, y)) << y;
    }
    for (int x = 4; x <= 11; ++x)
        EXPECT_EQ(once, pm.getPixel(x, 10)) << x;
    for (int y = 4; y <= 9; ++y)
        EXPECT_EQ(once, pm.getPixel(12, y)) << y;
    EXPECT_EQ(white, pm.getPixel(3, 10));
    EXPECT_EQ(white, pm.getPixel(12, 10));
    EXPECT_EQ(white, pm.getPixel(12, 3));

    // The default colours: a mid-gray frame and a faint shadow.
    pm.clear(c_white);
    Widget::drawShadowFrame(pm, 2, 2, 10, 8);
    EXPECT_EQ(gray(96), pm.getPixel(5, 2));
    EXPECT_EQ(gray(222), pm.getPixel(2, 2));
}

TEST(WidgetDrawTest, TraceLinesNameTheWidgetByItsTypeAndAddress)
{
    TestRootWidget root;
    Widget* w = new TracedWidget(&root, 1, 2, 10, 10);
    w->setBgColor(c_red);
    root.runPending();
    char address[32];
    snprintf(address, sizeof address, "%p", static_cast<void*>(w));
    const std::string id = std::string("(anonymous namespace)::TracedWidget[") + address + "]";

    unsetenv("OKU_TRACEDEFAULT");
    traceInitStderr(TRACE_SILLY);
    testing::internal::CaptureStderr();
    w->hide();
    w->show();
    root.runPending();
    w->nuke();
    traceInitStderr(TRACE_ERROR);
    const std::string output = testing::internal::GetCapturedStderr();

    for (const std::string& line :
         {"hide(" + id + ")", "invalidate(" + id + ")(0, 0, 10, 10)", "show(" + id + ")",
          "draw(" + id + ")", "delete " + id}) {
        EXPECT_NE(std::string::npos, output.find("[OKU::Widget]: " + line + "\n")) << line;
    }
}
