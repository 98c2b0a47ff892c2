#include <initializer_list>

#include "gui/LoggingWidget.h"

using namespace OKU;

TEST(WidgetInputTest, HitTestingFindsTheTopmostInteractiveEnabledWidget)
{
    TestRootWidget root;
    Widget* a = new Widget(&root, 0, 0, 50, 50);
    Widget* b = new Widget(a, 10, 10, 20, 20);
    (new Widget(a, 30, 30, 10, 10))->setInteractive(false);
    Widget* over = new Widget(&root, 40, 0, 60, 60);

    const auto hits = [&root](std::initializer_list<Point> points) {
        std::vector<Widget*> widgets;
        for (const Point& p : points)
            widgets.push_back(root.findWidget(p.x, p.y));
        return widgets;
    };
    EXPECT_EQ((std::vector<Widget*>{b, a, over, &root, nullptr}),
              hits({{15, 15}, {35, 35}, {45, 45}, {70, 70}, {100, 50}}));
    over->hide();
    EXPECT_EQ(a, root.findWidget(45, 45));
    over->show();
    over->destroy();
    EXPECT_EQ(a, root.findWidget(45, 45));

    // A disabled widget swallows the press, also for the widgets below it.
    b->disable();
    bool found = false;
    EXPECT_EQ(nullptr, root.findWidget(15, 15, found));
    EXPECT_TRUE(found);
    b->enable();
    a->disable();
    EXPECT_EQ((std::vector<Widget*>{nullptr, nullptr}), hits({{15, 15}, {35, 35}}));
}

TEST(WidgetInputTest, RightToLeftParentMirrorsItsChildrenAndForegroundOrModalOnesCatchEveryPress)
{
    TestRootWidget root;
    Widget* parent = new Widget(&root, 0, 0, 100, 100);
    parent->setLayout(Layout::RTL);
    Widget* dialog = new Widget(parent, 60, 60, 20, 20);
    Widget* button = new Widget(dialog, 0, 0, 5, 5);
    // Only the parent's own children are mirrored, drawn and invalidated there.
    EXPECT_EQ(std::make_pair(Rect(20, 60, 20, 20), Point(20, 60)),
              std::make_pair(dialog->getRectAbs(), button->getPositionAbs()));
    dialog->setBgColor(Color(255, 0, 0));
    root.runPending();
    EXPECT_EQ(rgb(255, 0, 0), root.pixel(39, 79));
    EXPECT_NE(rgb(255, 0, 0), root.pixel(60, 60));
    dialog->invalidate();
    EXPECT_EQ((std::vector<Rect>{Rect(20, 60, 20, 20)}), root.getDirtyRects());

    const auto pressed = [&root] {
        return std::make_pair(root.findWidget(5, 5), root.findWidget(21, 61));
    };
    EXPECT_EQ(std::make_pair(parent, button), pressed());
    dialog->setModalMark(true);
    EXPECT_EQ(std::make_pair(dialog, button), pressed());
    dialog->setModalMark(false);
    dialog->setForeground(true);
    EXPECT_EQ(dialog, root.findWidget(95, 5));
    // Passive foreground widgets let the press through.
    dialog->setInteractive(false);
    EXPECT_EQ(parent, root.findWidget(95, 5));
}

TEST(WidgetInputTest, KeysAreInterceptedDownwardAndOfferedUpwardFromTheTopmostWidget)
{
    Log log;
    TestRootWidget root;
    LoggingWidget* outer = new LoggingWidget(&root, "outer", log, LoggingWidget::KEYS);
    LoggingWidget* first = new LoggingWidget(outer, "first", log, LoggingWidget::KEYS);
    LoggingWidget* second = new LoggingWidget(outer, "second", log, LoggingWidget::KEYS);
    LoggingWidget* leaf = new LoggingWidget(second, "leaf", log, LoggingWidget::KEYS);

    root.injectKeyEvent(KEY_CONFIRM, L'x');
    root.runPending();
    EXPECT_EQ((Log{"outer intercept 3,120", "second intercept 3,120", "leaf intercept 3,120",
                   "leaf key 3,120", "second key 3,120", "first intercept 3,120", "first key 3,120",
                   "outer key 3,120"}),
              log);

    log.clear();
    leaf->m_takesKeys = true;
    EXPECT_TRUE(outer->deliverKey(KEY_CANCEL, L'y'));
    EXPECT_EQ((Log{"outer intercept 4,121", "second intercept 4,121", "leaf intercept 4,121",
                   "leaf key 4,121"}),
              log);
    log.clear();
    second->m_interceptsKeys = true;
    EXPECT_TRUE(outer->deliverKey(KEY_CANCEL, L'y'));
    EXPECT_EQ((Log{"outer intercept 4,121", "second intercept 4,121"}), log);

    // Disabled subtrees see nothing; passive widgets still intercept.
    log.clear();
    second->disable();
    first->setInteractive(false);
    EXPECT_FALSE(outer->deliverKey(KEY_NONE, L'z'));
    EXPECT_EQ((Log{"outer intercept 0,122", "first intercept 0,122", "outer key 0,122"}), log);

    log.clear();
    outer->hide();
    EXPECT_FALSE(outer->deliverKey(KEY_NONE, L'z'));
    outer->show();
    outer->destroy();
    EXPECT_FALSE(outer->deliverKey(KEY_NONE, L'z'));
    EXPECT_TRUE(log.empty());
}
