#include <chrono>
#include <tuple>

#include "gui/TestRootWidget.h"
#include "gui/widgets/Frame.h"
#include "gui/widgets/StaticPixmap.h"
#include "gui/widgets/StaticText.h"
#include "gui/windows/WaitingBox.h"
#include "text/Font.h"

using namespace OKU;

namespace {

// An opaque white page to draw on, so that ink is whatever is not white.
Widget* whitePage(Widget* root)
{
    Widget* page = new Widget(root, 0, 0, root->getWidth(), root->getHeight());
    page->setBgColor(Color(255, 255, 255));
    return page;
}

// Pixels darker than threshold in the red channel.
Rect inkBox(const Pixmap& p, const Rect& r, int threshold = 255)
{
    return boxOf(p, r, [threshold](const Pixmap::Pixel& px) { return px.red < threshold; });
}

int darkest(const Pixmap& p, const Rect& r)
{
    int level = 255;
    for (int y = r.y; y < r.bottom(); ++y)
        for (int x = r.x; x < r.right(); ++x)
            level = std::min<int>(level, p.getPixel(x, y).red);
    return level;
}

} // namespace

TEST(StaticTextTest, LinesBreakAtTheWidthAndAlignMirroredInRightToLeftLayouts)
{
    const std::shared_ptr<const Font> font = testTheme()->getStandardFont(16);
    const int lineHeight = font->getLineSpacing();
    const int width = font->getStringWidth(L"a longer") - 1;
    const struct { Layout layout; HAlign align; bool breaking, flushRight; } cases[] = {
        {Layout::LTR, HAlign::LEFT, true, false},
        {Layout::RTL, HAlign::LEFT, true, true},
        {Layout::RTL, HAlign::RIGHT, true, false},
        {Layout::RTL, HAlign::LEFT, false, true},
    };
    for (const auto& c : cases) {
        TestRootWidget root(200, 100);
        StaticText* text = new StaticText(whitePage(&root), L"a longer", c.align, VAlign::TOP);
        text->setGeometry(20, 10, width, 3 * lineHeight);
        text->setLayout(c.layout);
        text->enableLineBreaking(c.breaking);
        root.runPending();
        const Pixmap screen = root.getPixmapCopy();
        const Rect first = inkBox(screen, Rect(0, 10, 200, lineHeight));
        const Rect second = inkBox(screen, Rect(0, 10 + lineHeight, 200, lineHeight));
        EXPECT_EQ(c.breaking, !second.isEmpty()) << static_cast<int>(c.layout);
        ASSERT_FALSE(first.isEmpty());
        for (const Rect& line : {first, second}) {
            if (line.isEmpty())
                continue;
            if (c.flushRight)
                EXPECT_NEAR(20 + width, line.right(), 3) << static_cast<int>(c.align);
            else
                EXPECT_NEAR(20, line.x, 3) << static_cast<int>(c.align);
        }
        EXPECT_TRUE(!c.breaking || second.width > first.width + 10) << "breaks after \"a\"";
        // Only line feeds break the text when it is measured.
        text->setMinNumLines(3);
        EXPECT_EQ(Size(font->getTextWidth(L"a longer"), 3 * lineHeight),
                  Size(text->getMinWidth(), text->getMinHeight()));
    }
}

TEST(StaticTextTest, FadeInDarkensStepByStepAndRestartsFromTransparent)
{
    TestRootWidget root;
    Widget* page = whitePage(&root);
    StaticText* fading = new StaticText(page, L"Wait", HAlign::LEFT, VAlign::TOP);
    StaticText* steady = new StaticText(page, L"Wait", HAlign::LEFT, VAlign::TOP);
    fading->setGeometry(0, 0, 100, 30);
    steady->setGeometry(0, 50, 100, 30);
    fading->fadeIn();
    root.runPending();
    const auto level = [&](int y) { return darkest(root.getPixmapCopy(), Rect(0, y, 100, 30)); };
    EXPECT_EQ(255, level(0));
    for (int step = 0; step < 3; ++step)
        root.processEvent(true);
    root.runPending();
    EXPECT_LT(level(0), 255);

    fading->fadeIn();
    root.runPending();
    EXPECT_EQ(255, level(0));
    EXPECT_EQ(1u, root.m_timerHeap.size());
    int previous = 255;
    for (int step = 1; step <= 10; ++step) {
        ASSERT_FALSE(root.m_timerHeap.empty()) << step;
        root.processEvent(true);
        root.runPending();
        EXPECT_LT(level(0), previous) << step;
        previous = level(0);
    }
    EXPECT_EQ(level(50), previous);
    EXPECT_TRUE(root.m_timerHeap.empty());
}

TEST(StaticPixmapTest, PictureIsCentredOrStretchedKeepingItsAspect)
{
    const struct {
        int pixmapWidth, pixmapHeight;
        bool stretch, keepAspect, frame;
        Rect drawn;
    } cases[] = {
        {100, 50, true, true, false, Rect(0, 75, 300, 150)},
        {50, 100, true, true, false, Rect(75, 0, 150, 300)},
        {100, 50, true, false, false, Rect(0, 0, 300, 300)},
        {100, 50, false, true, false, Rect(100, 125, 100, 50)},
        {100, 50, true, true, true, Rect(1, 75, 298, 149)},
    };
    for (const auto& c : cases) {
        TestRootWidget root(310, 310);
        auto picture =
            std::make_shared<const Pixmap>(c.pixmapWidth, c.pixmapHeight, Color(255, 0, 0));
        auto* view = new StaticPixmap(whitePage(&root), picture, c.stretch, c.keepAspect);
        view->setGeometry(0, 0, 300, 300);
        view->enableFrame(c.frame);
        EXPECT_EQ(Size(c.pixmapWidth + (c.frame ? 2 : 0), c.pixmapHeight + (c.frame ? 2 : 0)),
                  Size(view->getMinWidth(), view->getMinHeight()));
        root.runPending();
        const Pixmap screen = root.getPixmapCopy();
        const Rect red = boxOf(screen, Rect(0, 0, 300, 300),
                               [](const Pixmap::Pixel& p) { return p == rgb(255, 0, 0); });
        const bool framed = screen.getPixel(150, 0) == rgb(96, 96, 96);
        EXPECT_EQ(std::make_pair(c.drawn, c.frame), std::make_pair(red, framed))
            << c.pixmapWidth << " stretch " << c.stretch << c.frame;
    }
}

TEST(StaticPixmapTest, DisabledShowsTheCachedGreyLookOrTheGivenPicture)
{
    Cache& cache = testTheme()->getCache();
    TestRootWidget root(20, 20);
    auto picture = std::make_shared<const Pixmap>(20, 20, Color(200, 40, 40));
    StaticPixmap* view = new StaticPixmap(&root, picture, false, false);
    view->setGeometry(0, 0, 20, 20);
    view->disable();
    root.runPending();
    const Pixmap::Pixel grey = root.pixel(10, 10);
    EXPECT_EQ(cache.getDisabled(picture)->getPixel(10, 10), grey);
    EXPECT_TRUE(grey.red == grey.green && grey.green == grey.blue && grey != rgb(200, 40, 40));

    view->setDisabledPixmap(std::make_shared<const Pixmap>(20, 20, Color(0, 0, 255)));
    root.runPending();
    EXPECT_EQ(rgb(0, 0, 255), root.pixel(10, 10));
    view->enable();
    root.runPending();
    EXPECT_EQ(rgb(200, 40, 40), root.pixel(10, 10));
}

TEST(FrameTest, BackgroundLightensWithNestingDownToTheLastColour)
{
    TestRootWidget root;
    Widget* parent = &root;
    for (int grey : {176, 192, 208, 224, 224}) {
        parent = new Frame(new Widget(parent));
        EXPECT_EQ(Color(grey, grey, grey), parent->getBgColor());
    }
}

TEST(FrameTest, TitleTabStandsOnTheLeadingBorderOfTheLayout)
{
    const std::shared_ptr<const Font> font = testTheme()->getStandardFont(Frame::s_defaultFontSize);
    const int th = font->getAscender() + font->getDescender();
    const int h = th / 2;
    const int tabRight = font->getStringWidth(L"Title") + 2 * Frame::s_defaultTextMargin + 1;
    const Pixmap::Pixel line = rgb(96, 96, 96), white = rgb(255, 255, 255);
    const Pixmap::Pixel background = rgb(176, 176, 176);
    // Pixels of a left title in a left-to-right layout; the right-to-left one is its mirror image.
    const std::tuple<int, int, Pixmap::Pixel> pixels[] = {
        {0, 2, line},    {0, h, line},      {5, 0, line},          {tabRight, 3, line},
        {190, 1, white}, {190, h, line},    {190, h + 1, background},
        {199, 1, white}, {199, h + 1, line},
    };
    for (Layout layout : {Layout::LTR, Layout::RTL}) {
        TestRootWidget root(210, 110);
        Frame* frame = new Frame(whitePage(&root), L"Title", HAlign::LEFT);
        frame->setGeometry(0, 0, 200, 100);
        frame->setLayout(layout);
        root.runPending();
        const bool mirrored = layout == Layout::RTL;
        for (const auto& [x, y, expected] : pixels)
            EXPECT_EQ(expected, root.pixel(mirrored ? 199 - x : x, y)) << x << "," << y << mirrored;
        const Rect title = inkBox(root.getPixmapCopy(), Rect(0, 0, 200, 100), 90);
        const Rect tab(mirrored ? 199 - tabRight : 1, 1, tabRight, th);
        EXPECT_TRUE(!title.isEmpty() && tab.contains(title));
        EXPECT_TRUE(frame->isSolid(Rect(5, h + 1, 190, 60)));
        EXPECT_FALSE(frame->isSolid(Rect(mirrored ? 5 : 190, h - 1, 5, 1)));
    }
}

TEST(WaitingBoxTest, ClosesItselfAfterItsTimeUnlessTimeIsNegative)
{
    TestRootWidget root(800, 480);
    const auto built = std::chrono::steady_clock::now();
    WaitingBox* timed = new WaitingBox(&root, L"Wait", L"Working", 1);
    auto image = std::make_shared<const Pixmap>(40, 20, Color());
    WaitingBox* lasting = new WaitingBox(&root, L"Picture", image, -1);
    root.runPending();
    EXPECT_EQ(std::make_pair(Rect(150, 90, 500, 300), Rect(150, 90, 500, 300)),
              std::make_pair(timed->getRect(), lasting->getRect()));

    root.start();
    const auto childCount = [&root] {
        return root.onGuiThread([&root] { return root.getChildren().size(); });
    };
    while (childCount() == 2)
        sleepMilliseconds(10);
    const auto closed = std::chrono::steady_clock::now();
    EXPECT_GE(closed - built, std::chrono::milliseconds(1000));
    EXPECT_LT(closed - built, std::chrono::milliseconds(1500));
    sleepMilliseconds(1200);
    EXPECT_EQ(1u, childCount());
    root.stopGuiThread();
    EXPECT_EQ((Widget::Children{lasting}), root.getChildren());
}
