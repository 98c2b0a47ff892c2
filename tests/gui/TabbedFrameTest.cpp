#include <algorithm>
#include <stdexcept>
#include <tuple>

#include "gui/TestRootWidget.h"
#include "gui/tree/ContainerWidget.h"
#include "gui/widgets/TabLabel.h"
#include "gui/widgets/TabbedFrame.h"

using namespace OKU;

namespace {

const int c_labelHeight = 20;
const int c_barHeight = c_labelHeight + 2;
const Pixmap::Pixel c_white = rgb(255, 255, 255);
const Pixmap::Pixel c_frameGrey = rgb(96, 96, 96);
const Pixmap::Pixel c_pageGrey = rgb(176, 176, 176);

// A label of a fixed size that draws nothing, so that the tab row's geometry
// is exact.
class FixedLabel : public TabbedFrame::Label {
public:
    explicit FixedLabel(int width) : m_width(width) {}
    Size getMinSize() const override { return Size(m_width, c_labelHeight); }
    void draw(Painter&, const Rect&, State, bool) const override {}

private:
    int m_width;
};

// A white 400 x 200 screen with a tabbed frame at its top left, one tab per
// label width, logging both signals.
class TabRoot : public TestRootWidget {
public:
    TabRoot(int frameWidth, const std::vector<int>& labelWidths, Layout layout = Layout::LTR)
        : TestRootWidget(400, 200)
    {
        setBgColor(Color(255, 255, 255));
        m_frame = new TabbedFrame(this);
        m_frame->setLayout(layout);
        m_frame->setGeometry(0, 0, frameWidth, 150);
        for (int width : labelWidths)
            m_pages.push_back(m_frame->createTab(std::make_shared<FixedLabel>(width)));
        m_frame->signalActiveTabChanged.connect(
            [this](int index) { m_log.push_back("active " + std::to_string(index)); });
        m_frame->signalTabLongPress.connect(
            [this](int index) { m_log.push_back("long " + std::to_string(index)); });
        runPending();
    }

    // Runs the loop, timers included, until no timer is left.
    void runTimers()
    {
        for (int events = 0; !m_timerHeap.empty() && events < 10; ++events)
            processEvent(true);
    }
    // Which of the pages made at the start are shown.
    std::vector<bool> shownPages() const
    {
        std::vector<bool> shown;
        for (const ContainerWidget* page : m_pages)
            shown.push_back(page->isShown());
        return shown;
    }

    TabbedFrame* m_frame;
    std::vector<ContainerWidget*> m_pages;
    Log m_log;
};

} // namespace

TEST(TabbedFrameTest, TapActivatesTheVisibleTabUnderTheFinger)
{
    // Tabs of 60, 80 and 100: [10, 74), [84, 168), [178, 282); hiding the
    // second moves the third to [84, 188).
    const struct { const char* name; int hidden, x, y, active; Log log; } cases[] = {
        {"second tab", -1, 100, 10, 1, {"active 1"}},
        {"third tab's right edge", -1, 281, 10, 2, {"active 2"}},
        {"gap between tabs", -1, 78, 10, 0, {}},
        {"page area", -1, 100, 60, 0, {}},
        {"active tab again", -1, 20, 10, 0, {}},
        {"hidden tab skipped", 1, 100, 10, 2, {"active 2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TabRoot root(400, {60, 80, 100});
        if (c.hidden >= 0)
            root.m_frame->hideTab(c.hidden);
        root.tap(c.x, c.y);
        std::vector<bool> shown(3, false);
        shown[c.active] = true;
        EXPECT_EQ(std::make_tuple(c.active, c.log, shown),
                  std::make_tuple(root.m_frame->getActiveTab(), root.m_log, root.shownPages()));
    }
}

TEST(TabbedFrameTest, HoldingATabForTwoSecondsReportsALongPressOnce)
{
    const struct { const char* name; bool moveOff; Log log; } cases[] = {
        {"held", false, {"active 1", "long 1"}}, {"moved off", true, {"active 1"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TabRoot root(400, {60, 80, 100});
        const uint64_t start = monotonicMicroseconds();
        root.touch(100, 10, true);
        if (c.moveOff)
            root.touch(100, 60, true);
        root.runTimers();
        EXPECT_GE(monotonicMicroseconds() - start, 2000000u);
        root.touch(100, 10, false);
        EXPECT_EQ(c.log, root.m_log);
        EXPECT_TRUE(root.m_timerHeap.empty());
    }
}

TEST(TabbedFrameTest, TabRowShrinksTheWidestLabelsAndRunsRightToLeft)
{
    struct Tab { int x, width; };
    const struct {
        const char* name;
        Layout layout;
        int frameWidth;
        std::vector<Tab> tabs;
    } cases[] = {
        {"room enough", Layout::LTR, 400, {{10, 64}, {84, 84}, {178, 104}}},
        // The row needs 282: 100 shrinks to 80, then both 80s to 74.
        {"too narrow", Layout::LTR, 250, {{10, 64}, {84, 78}, {172, 78}}},
        {"right to left", Layout::RTL, 400, {{326, 64}, {232, 84}, {118, 104}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TabRoot root(c.frameWidth, {60, 80, 100}, c.layout);
        for (size_t i = 0; i < c.tabs.size(); ++i) {
            const Tab& tab = c.tabs[i];
            EXPECT_EQ(c_white, root.pixel(tab.x - 1, 10)) << i;
            EXPECT_EQ(c_frameGrey, root.pixel(tab.x, 10)) << i;
            EXPECT_EQ(c_frameGrey, root.pixel(tab.x + tab.width - 1, 10)) << i;
            // Only the active first tab opens into the page below.
            EXPECT_EQ(i == 0 ? c_pageGrey : c_frameGrey,
                      root.pixel(tab.x + tab.width / 2, c_barHeight - 1))
                << i;
        }
        EXPECT_EQ(c_frameGrey, root.pixel(0, 100));
        EXPECT_EQ(c_pageGrey, root.pixel(1, 100));
    }
}

TEST(TabbedFrameTest, ClonesShareTheirPage)
{
    TabRoot root(400, {60, 80});
    ContainerWidget* shared = root.m_pages[0];
    root.m_frame->cloneTab(std::make_shared<FixedLabel>(40), 0);
    root.runPending();

    // The clone is the third tab, at [178, 222): its page stays as it is.
    root.tap(200, 10);
    EXPECT_EQ((Log{"active 2"}), root.m_log);
    EXPECT_EQ((std::vector<bool>{true, false}), root.shownPages());

    root.m_frame->deleteTab(0);
    root.runPending();
    EXPECT_FALSE(shared->isMarkedDestroyed());
    EXPECT_EQ(std::make_pair(shared, 1),
              std::make_pair(root.m_frame->getTabWidget(1), root.m_frame->getActiveTab()));
    // No longer a clone, the remaining tab's page follows the frame's size.
    root.m_frame->resize(300, 120);
    EXPECT_EQ(Size(296, 120 - c_barHeight - 3), shared->getSize());
}

// Deleting a tab destroys its page unless a clone of the tab keeps it.
TEST(TabbedFrameTest, DeletingATabLeavesOnlyTheNewActivePageShown)
{
    const int own = -1;
    // Each tab has its own page or shows that of another; shown are the pages
    // left, in the order made.
    const struct {
        const char* name;
        std::vector<int> tabs;
        int active, deleted, newActive;
        std::vector<bool> shown;
    } cases[] = {
        {"active last tab", {own, own, own}, 2, 2, 1, {false, true}},
        {"active first tab", {own, own, own}, 0, 0, 0, {true, false}},
        {"tab before the active one", {own, own, own}, 2, 0, 1, {false, true}},
        {"A, its clone last", {own, own, 0}, 0, 0, 0, {false, true}},
        {"the clone of A", {own, own, 0}, 2, 2, 1, {false, true}},
        {"A, its clone next", {own, 0, own}, 0, 0, 0, {true, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TabRoot root(400, {});
        for (int tab : c.tabs) {
            if (tab == own)
                root.m_pages.push_back(root.m_frame->createTab(std::make_shared<FixedLabel>(60)));
            else
                root.m_frame->cloneTab(std::make_shared<FixedLabel>(40), tab);
        }
        root.m_frame->setActiveTab(c.active, false);
        root.m_frame->deleteTab(c.deleted);
        std::vector<ContainerWidget*>& pages = root.m_pages;
        pages.erase(std::remove_if(pages.begin(), pages.end(),
                                   [](Widget* page) { return page->isMarkedDestroyed(); }),
                    pages.end());
        root.runPending();
        EXPECT_EQ(std::make_tuple(int(c.tabs.size()) - 1, c.newActive, c.shown, Log()),
                  std::make_tuple(root.m_frame->getTabCount(), root.m_frame->getActiveTab(),
                                  root.shownPages(), root.m_log));
    }

    TabRoot root(400, {60, 80, 100});
    root.m_frame->deleteTab(5);
    root.m_frame->deleteTab(-1);
    EXPECT_EQ(3, root.m_frame->getTabCount());
    EXPECT_THROW(root.m_frame->getTabWidget(5), std::out_of_range);
    EXPECT_THROW(root.m_frame->setActiveTab(3, true), std::out_of_range);
}
