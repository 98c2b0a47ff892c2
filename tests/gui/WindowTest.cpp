#include "gui/TestRootWidget.h"
#include "gui/layout/HSizer.h"
#include "gui/layout/VSizer.h"
#include "gui/windows/Screen.h"
#include "gui/windows/Window.h"
#include "text/Font.h"
#include "text/L10n.h"

using namespace OKU;

namespace {

// Reports a fixed minimum size and records every rectangle it is fitted to.
struct FixedSizer : Sizer {
    int getMinWidth() const override { return 100; }
    int getMinHeight() const override { return 50; }
    void show(bool) override {}
    bool isVisible() const override { return true; }
    void doFitRect(const Rect& r, Widget*) override { m_fits.push_back(r); }
    std::vector<Rect> m_fits;
};

std::shared_ptr<const Font> titleFont() { return testTheme()->getStandardFont(24); }

} // namespace

TEST(WindowTest, SizeRequestsAreDecodedAgainstTheParentAndCentred)
{
    const struct { int w, h; Rect constructed, created; } cases[] = {
        {-50, -1, Rect(200, 48, 400, 384), Rect(200, 48, 400, 384)},
        {-150, 2000, Rect(0, 0, 800, 480), Rect(0, 0, 800, 480)},
        // Minimum size: frame 2 and margin 10 around the sizer's 100 x 50.
        {0, 0, Rect(400, 240, 0, 0), Rect(338, 203, 124, 74)},
    };
    for (const auto& c : cases) {
        TestRootWidget root(800, 480);
        Window* w = new Window(&root, c.w, c.h, L"", false);
        auto sizer = std::make_shared<FixedSizer>();
        w->setSizer(sizer);
        EXPECT_EQ(c.constructed, w->getRect()) << c.w;
        root.runPending();
        EXPECT_EQ(
            std::make_pair(c.created, Rect(12, 12, c.created.width - 24, c.created.height - 24)),
            std::make_pair(w->getRect(), sizer->m_fits.back()))
            << c.w;
        // Every resize runs the sizer, also one that keeps the size.
        const size_t fits = sizer->m_fits.size();
        w->resize(c.created.width, c.created.height);
        EXPECT_EQ(fits + 1, sizer->m_fits.size());
    }
}

TEST(WindowTest, PressOutsideClosesOnlyWindowsThatAskForIt)
{
    TestRootWidget root(800, 480);
    new Window(&root, 300, 200, L"", false);
    new Window(&root, 200, 100, L"", true);
    // The topmost foreground window gets every press: inside, outside, outside again.
    for (const auto& p : {Point(400, 240), Point(10, 10), Point(10, 10)}) {
        root.injectMouseEvent(p.x, p.y, true);
        root.injectMouseEvent(p.x, p.y, false);
        root.runPending();
        EXPECT_EQ(p.x == 400 ? 2u : 1u, root.getChildren().size());
    }
}

TEST(WindowDeathTest, ParentMustBeTopLevel)
{
    TestRootWidget root;
    expectFatalError([&root] { new Window(new Widget(&root), L"", false); },
                     "Window parent must be top level");
}

TEST(WindowTest, LanguageChangesLayPagesOutAgainButNewTitlesWaitForAResize)
{
    TestRootWidget root(800, 480);
    auto pageSizer = std::make_shared<FixedSizer>();
    (new Screen(&root))->setSizer(pageSizer);
    Window* w = new Window(&root, LString(LString1(L"Help")), false);
    root.runPending();
    EXPECT_EQ(titleFont()->getStringWidth(L"Help") + 20, w->getWidth());

    ASSERT_TRUE(l10nLoadLanguage(std::string(OKU_TEST_DATA_DIR) + "/gui/longer-titles.lang",
                                 L10n_Language::WESTERN));
    const int translated = titleFont()->getStringWidth(L"Help and support on the device") + 20;
    EXPECT_EQ(Rect((800 - translated) / 2, w->getY(), translated, w->getHeight()), w->getRect());
    EXPECT_EQ(2u, pageSizer->m_fits.size());

    const std::wstring longest = L"Much longer than the translated title, even longer";
    w->setTitle(longest);
    EXPECT_EQ(translated, w->getWidth());
    ASSERT_TRUE(l10nLoadLanguage("", L10n_Language::WESTERN));
    EXPECT_EQ(titleFont()->getStringWidth(longest) + 20, w->getWidth());
}

// A dialog over a page, laid out by nested sizers, kept in the build tree as a
// picture; the pixels checked are the ones the drawing rules pin down.
TEST(WindowTest, RenderedPageShowsTitleBarFrameContentAndVeil)
{
    TestRootWidget root(480, 320);
    new Screen(&root);
    Window* window = new Window(&root, -60, 0, LString(L"Emergency Backup"), false);
    const auto swatch = [window](const Color& c) {
        Widget* s = new Widget(window);
        s->setBgColor(c);
        s->setMinHeight(30);
        return s;
    };
    auto row = std::make_shared<HSizer>();
    row->add(swatch(Color(200, 40, 40)), 1, VAlign::STRETCH);
    row->add(swatch(Color(40, 160, 60)), 1, VAlign::STRETCH);
    auto column = std::make_shared<VSizer>();
    column->add(swatch(Color(40, 60, 200)), 0, HAlign::STRETCH);
    column->add(row, 1, HAlign::STRETCH, 20);
    window->setSizer(column);
    root.runPending();
    ASSERT_TRUE(root.getPixmapCopy().savePNG(std::string(OKU_TEST_BUILD_DIR) + "/window-page.png"));

    const int text = titleFont()->getAscender() + titleFont()->getDescender();
    const Rect r = window->getRect();
    EXPECT_EQ(Rect(96, (320 - r.height) / 2, 288, text + 8 + 10 + 30 + 20 + 30 + 10 + 2), r);
    const struct { int x, y; Pixmap::Pixel p; } pixels[] = {
        {5, 5, rgb(53, 53, 53)}, // 144 under black at 160: 95 * 144 / 256
        {r.x, r.y, rgb(48, 48, 48)}, {r.right() - 1, r.bottom() - 1, rgb(48, 48, 48)},
        {r.x + 2, r.y + 2, rgb(64, 86, 128)}, {r.x + 2, r.y + 5 + text, rgb(32, 48, 80)},
        {r.x + 12, r.y + text + 18, rgb(40, 60, 200)},
        {r.x + 11, r.y + text + 18, rgb(192, 192, 192)}};
    for (const auto& p : pixels)
        EXPECT_EQ(p.p, root.pixel(p.x, p.y)) << p.x << "," << p.y;

    // Margins go left, right, top, bottom; the content starts below the title bar.
    window->setMargins(1, 3, 5, 7);
    EXPECT_EQ(Rect(3, text + 13, 280, r.height - (text + 22)), window->getContentRect());
}
