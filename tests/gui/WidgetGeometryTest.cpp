#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gui/TestRootWidget.h"

using namespace OKU;

namespace {

const Color c_red(255, 0, 0, 255);
const Color c_blue(0, 0, 255, 255);

// Counts the argument-less invalidations that every change of appearance goes through.
class CountingWidget : public Widget {
public:
    using Widget::Widget;
    using Widget::invalidate;
    void invalidate() override
    {
        ++m_invalidations;
        Widget::invalidate();
    }

    int m_invalidations = 0;
};

class ResizeProbe : public Widget {
public:
    using Widget::Widget;
    void onResized() override { ++m_resized; }
    void onParentResized() override { ++m_parentResized; }

    int m_resized = 0;
    int m_parentResized = 0;
};

class MinSizeWidget : public Widget {
public:
    using Widget::Widget;
    int getAutoMinWidth() const override { return 70; }
    int getAutoMinHeight() const override { return 8; }
};

} // namespace

TEST(WidgetGeometryTest, RedrawRectCoversMarginsForegroundAndVisibleChildren)
{
    TestRootWidget root(200, 100);
    Widget* w = new Widget(&root, 10, 10, 40, 30);
    w->setRedrawMargins(Margins(2, 3, 4, 5));
    EXPECT_EQ(Rect(-2, -3, 46, 38), w->getRedrawRect());

    Widget* child = new Widget(w, 30, 20, 20, 20);
    Widget* hidden = new Widget(w, -20, 0, 5, 5);
    hidden->hide();
    Widget* destroyed = new Widget(w, 0, -30, 5, 5);
    destroyed->destroy();
    EXPECT_EQ(Rect(-2, -3, 52, 43), w->getRedrawRect());
    child->setRedrawMargins(Margins(0, 0, 10, 0));
    EXPECT_EQ(Rect(-2, -3, 62, 43), w->getRedrawRect());

    w->setForeground(true);
    EXPECT_EQ(Rect(-10, -10, 200, 100), w->getRedrawRect());
    w->setForeground(false);
    w->setModalMark(true);
    EXPECT_EQ(Rect(-10, -10, 200, 100), w->getRedrawRect());

    Widget* flat = new Widget(&root, 5, 5, 0, 5);
    flat->setRedrawMargins(Margins(1, 1, 1, 1));
    new Widget(flat, 0, 0, 10, 10);
    EXPECT_EQ(Rect(0, 0, 0, 5), flat->getRedrawRect());
}

TEST(WidgetGeometryTest, InvalidationReachesTheRootInAbsoluteCoordinatesOnlyWhenVisible)
{
    TestRootWidget root(200, 100);
    Widget* a = new Widget(&root, 10, 20, 50, 50);
    Widget* b = new Widget(a, 5, 5, 10, 10);
    root.runPending();
    EXPECT_TRUE(root.getDirtyRects().empty());

    b->invalidate(Rect(1, 2, 3, 4));
    EXPECT_EQ((std::vector<Rect>{Rect(16, 27, 3, 4)}), root.getDirtyRects());
    root.runPending();
    b->invalidate();
    EXPECT_EQ((std::vector<Rect>{Rect(15, 25, 10, 10)}), root.getDirtyRects());
    root.runPending();

    a->hide();
    EXPECT_EQ((std::vector<Rect>{Rect(10, 20, 50, 50)}), root.getDirtyRects());
    root.runPending();
    b->invalidate();
    b->move(0, 0);
    EXPECT_TRUE(root.getDirtyRects().empty());
    a->show();
    EXPECT_EQ((std::vector<Rect>{Rect(10, 20, 50, 50)}), root.getDirtyRects());

    // Without a root nothing is reported and nothing breaks.
    Widget loose(nullptr, 0, 0, 10, 10);
    loose.invalidate();
    EXPECT_EQ(nullptr, loose.getRoot());
}

TEST(WidgetGeometryTest, ChangesInvalidateOnlyWhenSomethingChanges)
{
    TestRootWidget root(200, 100);
    Widget* parent = new Widget(&root, 0, 0, 200, 100);
    CountingWidget* w = new CountingWidget(parent, 10, 10, 10, 10);
    root.runPending();
    w->m_invalidations = 0;

    w->move(10, 10);
    w->resize(10, 10);
    w->show(true);
    w->enable(true);
    w->setBgColor(Color(10, 20, 30, 0));
    EXPECT_EQ(0, w->m_invalidations);
    EXPECT_TRUE(root.getDirtyRects().empty());
    EXPECT_EQ(Color(0, 0, 0, 0), w->getBgColor());

    w->move(100, 50);
    EXPECT_EQ(2, w->m_invalidations);
    EXPECT_EQ((std::vector<Rect>{Rect(10, 10, 10, 10), Rect(100, 50, 10, 10)}), root.getDirtyRects());
    root.runPending();

    w->resize(20, 10);
    EXPECT_EQ(4, w->m_invalidations);
    w->disable();
    w->disable();
    EXPECT_EQ(5, w->m_invalidations);
    w->hide();
    w->hide();
    EXPECT_EQ(6, w->m_invalidations);
    EXPECT_FALSE(w->isVisible());
    w->show();
    EXPECT_EQ(7, w->m_invalidations);

    parent->hide();
    EXPECT_FALSE(w->isVisible());
}

TEST(WidgetGeometryTest, BackgroundColourFollowsTheEnabledStateAndTransparentColoursAreAlike)
{
    TestRootWidget root;
    Widget* parent = new Widget(&root, 0, 0, 50, 50);
    CountingWidget* w = new CountingWidget(parent, 0, 0, 10, 10);

    w->setBgColor(c_red);
    EXPECT_EQ(2, w->m_invalidations);
    w->setBgColor(c_red);
    EXPECT_EQ(2, w->m_invalidations);
    w->setDisabledBgColor(c_blue);
    EXPECT_EQ(3, w->m_invalidations);
    EXPECT_EQ(c_red, w->getBgColor());
    parent->disable();
    EXPECT_FALSE(w->isEnabled());
    EXPECT_EQ(c_blue, w->getBgColor());
    parent->enable();

    w->setEnabledBgColor(Color(1, 2, 3, 0));
    w->setEnabledBgColor(Color(4, 5, 6, 0));
    EXPECT_EQ(Color(1, 2, 3, 0), w->getBgColor());
    EXPECT_EQ(4, w->m_invalidations);
}

TEST(WidgetGeometryTest, RightToLeftParentMirrorsDrawingHitTestingAndInvalidation)
{
    TestRootWidget root(200, 100);
    Widget* parent = new Widget(&root, 0, 0, 200, 100);
    parent->setLayout(Layout::RTL);
    EXPECT_FALSE(parent->isLTR());
    Widget* child = new Widget(parent, 10, 20, 50, 30);
    child->setBgColor(c_red);
    Widget* grandchild = new Widget(child, 5, 5, 10, 10);

    EXPECT_EQ(140, child->getTrueX0());
    EXPECT_EQ(Rect(140, 20, 50, 30), child->getRectAbs());
    EXPECT_EQ(Point(145, 25), grandchild->getPositionAbs());
    EXPECT_EQ(child, root.findWidget(185, 45));
    EXPECT_EQ(grandchild, root.findWidget(150, 25));
    EXPECT_EQ(parent, root.findWidget(20, 25));

    root.runPending();
    const Pixmap::Pixel red = {0, 0, 255, 255};
    EXPECT_EQ(red, root.pixel(140, 20));
    EXPECT_EQ(red, root.pixel(189, 49));
    EXPECT_NE(red, root.pixel(139, 20));
    EXPECT_NE(red, root.pixel(10, 20));

    child->invalidate();
    EXPECT_EQ((std::vector<Rect>{Rect(140, 20, 50, 30)}), root.getDirtyRects());
}

TEST(WidgetGeometryTest, ResizeCallsItsHandlersOnlyForRealChanges)
{
    TestRootWidget root(200, 100);
    ResizeProbe* parent = new ResizeProbe(&root, 0, 0, 50, 50);
    ResizeProbe* child = new ResizeProbe(parent, 0, 0, 10, 10);
    ResizeProbe* gone = new ResizeProbe(parent, 0, 0, 10, 10);
    gone->destroy();

    parent->resize(50, 50);
    parent->setGeometry(5, 5, 50, 50);
    EXPECT_EQ(0, parent->m_resized);
    EXPECT_EQ(0, child->m_parentResized);

    parent->setWidth(60);
    parent->setHeight(70);
    EXPECT_EQ(Size(60, 70), parent->getSize());
    EXPECT_EQ(2, parent->m_resized);
    EXPECT_EQ(2, child->m_parentResized);
    EXPECT_EQ(0, child->m_resized);
    EXPECT_EQ(0, gone->m_parentResized);
}

TEST(WidgetGeometryTest, CenterAndMinimizeStayInsideTheParent)
{
    TestRootWidget root(200, 100);
    Widget* parent = new Widget(&root, 0, 0, 100, 50);
    MinSizeWidget* w = new MinSizeWidget(parent, 0, 0, 31, 20);
    w->center();
    EXPECT_EQ(Rect(34, 15, 31, 20), w->getRect());
    // (20 - 31) / 2 truncates toward zero.
    w->center(Rect(10, 10, 20, 20));
    EXPECT_EQ(Rect(5, 10, 31, 20), w->getRect());

    w->setMinWidth(20);
    w->setMinHeight(12);
    EXPECT_EQ(70, w->getMinWidth());
    EXPECT_EQ(12, w->getMinHeight());
    w->enableAutoMinWidth(false);
    w->enableAutoMinHeight(false);
    EXPECT_EQ(20, w->getMinWidth());
    w->setMinHeight(5);
    EXPECT_EQ(5, w->getMinHeight());
    w->enableAutoMinWidth(true);
    w->enableAutoMinHeight(true);
    EXPECT_EQ(8, w->getMinHeight());

    w->minimize(true, false);
    EXPECT_EQ(Size(70, 20), w->getSize());
    w->minimize(false, true);
    EXPECT_EQ(Size(70, 8), w->getSize());
    parent->resize(50, 5);
    w->minimize(true, true);
    EXPECT_EQ(Size(50, 5), w->getSize());
}

TEST(WidgetGeometryTest, LayoutTurnsIntoDirectionAndAlignment)
{
    const std::wstring latin = L"abc";
    const std::wstring hebrew = L"\x05d0\x05d1";

    EXPECT_TRUE(isLTR(Layout::LTR));
    EXPECT_FALSE(isLTR(Layout::RTL));
    EXPECT_TRUE(isLTR(Layout::LANGUAGE));
    EXPECT_TRUE(isLTR(Layout::AUTO));
    EXPECT_TRUE(isLTR(static_cast<Layout>(-1)));

    EXPECT_TRUE(isLTR(Layout::AUTO, latin));
    EXPECT_FALSE(isLTR(Layout::AUTO, hebrew));
    EXPECT_TRUE(isLTR(Layout::LANGUAGE, hebrew));
    EXPECT_TRUE(isLTR(Layout::LTR, hebrew));
    EXPECT_FALSE(isLTR(Layout::RTL, latin));

    EXPECT_EQ(HAlign::RIGHT, layoutAlign(Layout::RTL, HAlign::LEFT));
    EXPECT_EQ(HAlign::LEFT, layoutAlign(Layout::RTL, HAlign::RIGHT));
    EXPECT_EQ(HAlign::CENTER, layoutAlign(Layout::RTL, HAlign::CENTER));
    EXPECT_EQ(HAlign::STRETCH, layoutAlign(Layout::RTL, HAlign::STRETCH));
    EXPECT_EQ(HAlign::LEFT, layoutAlign(Layout::LTR, HAlign::LEFT));
    EXPECT_EQ(HAlign::RIGHT, layoutAlign(Layout::AUTO, HAlign::LEFT, hebrew));
    EXPECT_EQ(HAlign::LEFT, layoutAlign(Layout::AUTO, HAlign::LEFT, latin));

    EXPECT_EQ(0, toTextHAlign(HAlign::LEFT));
    EXPECT_EQ(1, toTextHAlign(HAlign::CENTER));
    EXPECT_EQ(2, toTextHAlign(HAlign::RIGHT));
    EXPECT_EQ(3, toTextHAlign(HAlign::STRETCH));
    EXPECT_EQ(0, toTextHAlign(static_cast<HAlign>(9)));
}
