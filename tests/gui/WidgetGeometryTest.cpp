#include <functional>
#include <tuple>

#include "gui/TestRootWidget.h"

using namespace OKU;

namespace {

const Color c_red(255, 0, 0, 255);
const Color c_blue(0, 0, 255, 255);

// Counts the argument-less invalidations every change of appearance goes through.
class CountingWidget : public Widget {
public:
    using Widget::Widget;
    using Widget::invalidate;
    void invalidate() override
    {
        ++m_invalidations;
        Widget::invalidate();
    }
    void onResized() override { ++m_resized; }
    void onParentResized() override { ++m_parentResized; }
    int getAutoMinWidth() const override { return 70; }
    int getAutoMinHeight() const override { return 8; }

    int m_invalidations = 0;
    int m_resized = 0;
    int m_parentResized = 0;
};

} // namespace

TEST(WidgetGeometryTest, RedrawRectCoversMarginsForegroundAndVisibleChildren)
{
    TestRootWidget root(200, 100);
    Widget* w = new Widget(&root, 10, 10, 40, 30);
    w->setRedrawMargins(Margins(2, 3, 4, 5));
    EXPECT_EQ(Rect(-2, -3, 46, 38), w->getRedrawRect());
    Widget* child = new Widget(w, 30, 20, 20, 20);
    new Widget(w, -20, 0, 5, 5);
    w->getChildren().back()->hide();
    (new Widget(w, 0, -30, 5, 5))->destroy();
    child->setRedrawMargins(Margins(0, 0, 10, 0));
    EXPECT_EQ(Rect(-2, -3, 62, 43), w->getRedrawRect());
    w->setModalMark(true);
    EXPECT_EQ(Rect(-10, -10, 200, 100), w->getRedrawRect());

    Widget* flat = new Widget(&root, 5, 5, 0, 5);
    flat->setRedrawMargins(Margins(1, 1, 1, 1));
    new Widget(flat, 0, 0, 10, 10);
    EXPECT_EQ(Rect(0, 0, 0, 5), flat->getRedrawRect());
}

TEST(WidgetGeometryTest, ChangesInvalidateInAbsoluteCoordinatesOnlyWhenSomethingVisibleChanges)
{
    TestRootWidget root(200, 100);
    Widget* parent = new Widget(&root, 10, 20, 150, 70);
    CountingWidget* w = new CountingWidget(parent, 5, 5, 10, 10);
    root.runPending();
    w->m_invalidations = 0;
    w->invalidate(Rect(1, 2, 3, 4));
    EXPECT_EQ((std::vector<Rect>{Rect(16, 27, 3, 4)}), root.getDirtyRects());
    root.runPending();

    w->move(5, 5);
    w->resize(10, 10);
    w->show(true);
    w->enable(true);
    w->setBgColor(Color(10, 20, 30, 0));
    EXPECT_EQ(std::make_pair(0, std::vector<Rect>()),
              std::make_pair(w->m_invalidations, root.getDirtyRects()));

    w->move(100, 50);
    EXPECT_EQ(std::make_pair(2, std::vector<Rect>{Rect(15, 25, 10, 10), Rect(110, 70, 10, 10)}),
              std::make_pair(w->m_invalidations, root.getDirtyRects()));
    root.runPending();
    // A resize invalidates the old and the new area; repeating a change does nothing.
    const std::pair<std::function<void()>, int> steps[] = {
        {[w] { w->resize(20, 10); }, 4}, {[w] { w->disable(); w->disable(); }, 5},
        {[w] { w->hide(); w->hide(); }, 6}, {[w] { w->show(); }, 7}};
    for (const auto& [step, invalidations] : steps) {
        step();
        EXPECT_EQ(invalidations, w->m_invalidations);
    }
    root.runPending();

    // A hidden parent reports its own rectangle once, nothing below it.
    parent->hide();
    EXPECT_EQ(std::make_pair(false, std::vector<Rect>{Rect(10, 20, 150, 70)}),
              std::make_pair(w->isVisible(), root.getDirtyRects()));
    root.runPending();
    w->invalidate();
    w->move(0, 0);
    EXPECT_TRUE(root.getDirtyRects().empty());

    Widget loose(nullptr, 0, 0, 10, 10);
    loose.invalidate();
}

TEST(WidgetGeometryTest, BackgroundColourFollowsTheEnabledStateAndTransparentColoursAreAlike)
{
    TestRootWidget root;
    Widget* parent = new Widget(&root, 0, 0, 50, 50);
    CountingWidget* w = new CountingWidget(parent, 0, 0, 10, 10);
    w->setBgColor(c_red);
    w->setBgColor(c_red);
    EXPECT_EQ(2, w->m_invalidations);
    w->setDisabledBgColor(c_blue);
    EXPECT_EQ(std::make_pair(3, c_red), std::make_pair(w->m_invalidations, w->getBgColor()));
    parent->disable();
    EXPECT_EQ(c_blue, w->getBgColor());
    parent->enable();

    w->setEnabledBgColor(Color(1, 2, 3, 0));
    w->setEnabledBgColor(Color(4, 5, 6, 0));
    EXPECT_EQ(std::make_pair(4, Color(1, 2, 3, 0)),
              std::make_pair(w->m_invalidations, w->getBgColor()));
}

TEST(WidgetGeometryTest, ResizeCenterAndMinimize)
{
    TestRootWidget root(200, 100);
    CountingWidget* parent = new CountingWidget(&root, 0, 0, 100, 50);
    CountingWidget* w = new CountingWidget(parent, 0, 0, 31, 20);
    CountingWidget* gone = new CountingWidget(parent, 0, 0, 10, 10);
    gone->destroy();
    parent->resize(100, 50);
    parent->setGeometry(5, 5, 100, 50);
    EXPECT_EQ(0, parent->m_resized);
    parent->setWidth(110);
    parent->setHeight(60);
    parent->setGeometry(0, 0, 100, 50);
    EXPECT_EQ(std::make_tuple(3, 3, 0, 0),
              std::make_tuple(parent->m_resized, w->m_parentResized, w->m_resized,
                              gone->m_parentResized));

    w->center();
    EXPECT_EQ(Rect(34, 15, 31, 20), w->getRect());
    // (20 - 31) / 2 truncates toward zero.
    w->center(Rect(10, 10, 20, 20));
    EXPECT_EQ(Rect(5, 10, 31, 20), w->getRect());

    w->setMinWidth(20);
    w->setMinHeight(12);
    EXPECT_EQ(Size(70, 12), Size(w->getMinWidth(), w->getMinHeight()));
    w->enableAutoMinWidth(false);
    EXPECT_EQ(20, w->getMinWidth());
    w->enableAutoMinWidth(true);
    w->minimize(true, false);
    EXPECT_EQ(Size(70, 20), w->getSize());
    w->minimize(false, true);
    EXPECT_EQ(Size(70, 12), w->getSize());
    parent->resize(50, 5);
    w->minimize(true, true);
    EXPECT_EQ(Size(50, 5), w->getSize());
}

TEST(WidgetGeometryTest, LayoutTurnsIntoDirectionAndAlignment)
{
    const std::wstring latin = L"abc", hebrew = L"\x05d0\x05d1";
    const struct { Layout layout; std::wstring text; bool ltr; } directions[] = {
        {Layout::LTR, hebrew, true},      {Layout::RTL, latin, false},
        {Layout::LANGUAGE, hebrew, true}, {Layout::AUTO, latin, true},
        {Layout::AUTO, hebrew, false},    {static_cast<Layout>(-1), latin, true},
    };
    for (const auto& d : directions)
        EXPECT_EQ(
            std::make_pair(d.ltr, d.ltr ? HAlign::LEFT : HAlign::RIGHT),
            std::make_pair(isLTR(d.layout, d.text), layoutAlign(d.layout, HAlign::LEFT, d.text)))
            << static_cast<int>(d.layout);
    EXPECT_TRUE(isLTR(Layout::AUTO));
    // Mirrored: right goes left, the rest stays; the text aligner's numbers, left for nonsense.
    const HAlign aligns[] = {HAlign::LEFT, HAlign::CENTER, HAlign::RIGHT, HAlign::STRETCH,
                             static_cast<HAlign>(9)};
    std::vector<std::pair<HAlign, int>> turned;
    for (HAlign a : aligns)
        turned.emplace_back(layoutAlign(Layout::RTL, a), toTextHAlign(a));
    EXPECT_EQ((std::vector<std::pair<HAlign, int>>{{HAlign::RIGHT, 0},
                                                   {HAlign::CENTER, 1},
                                                   {HAlign::LEFT, 2},
                                                   {HAlign::STRETCH, 3},
                                                   {static_cast<HAlign>(9), 0}}),
              turned);
}
