#include <stdexcept>

#include "gui/LoggingWidget.h"

using namespace OKU;

namespace {

// Records the timers the widgets ask it to kill.
class TimerRoot : public TestRootWidget {
public:
    void killWidgetTimeout(int id) override
    {
        m_killed.push_back(id);
        TestRootWidget::killWidgetTimeout(id);
    }
    std::vector<int> m_killed;
};

} // namespace

TEST(WidgetInputTest, HitTestingFindsTheTopmostInteractiveEnabledWidget)
{
    TestRootWidget root;
    Widget* a = new Widget(&root, 0, 0, 50, 50);
    Widget* b = new Widget(a, 10, 10, 20, 20);
    (new Widget(a, 30, 30, 10, 10))->setInteractive(false);
    Widget* over = new Widget(&root, 40, 0, 60, 60);

    EXPECT_EQ(b, root.findWidget(15, 15));
    EXPECT_EQ(a, root.findWidget(35, 35));
    EXPECT_EQ(over, root.findWidget(45, 45));
    EXPECT_EQ(&root, root.findWidget(70, 70));
    EXPECT_EQ(nullptr, root.findWidget(100, 50));
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
    EXPECT_EQ(nullptr, root.findWidget(15, 15));
    EXPECT_EQ(nullptr, root.findWidget(35, 35));
}

TEST(WidgetInputTest, RightToLeftParentMirrorsItsChildrenAndForegroundOrModalOnesCatchEveryPress)
{
    TestRootWidget root;
    Widget* parent = new Widget(&root, 0, 0, 100, 100);
    parent->setLayout(Layout::RTL);
    Widget* dialog = new Widget(parent, 60, 60, 20, 20);
    Widget* button = new Widget(dialog, 0, 0, 5, 5);
    // Only the parent's own children are mirrored, drawn and invalidated there.
    EXPECT_EQ(Rect(20, 60, 20, 20), dialog->getRectAbs());
    EXPECT_EQ(Point(20, 60), button->getPositionAbs());
    dialog->setBgColor(Color(255, 0, 0));
    root.runPending();
    EXPECT_EQ(rgb(255, 0, 0), root.pixel(39, 79));
    EXPECT_NE(rgb(255, 0, 0), root.pixel(60, 60));
    dialog->invalidate();
    EXPECT_EQ((std::vector<Rect>{Rect(20, 60, 20, 20)}), root.getDirtyRects());

    EXPECT_EQ(parent, root.findWidget(5, 5));
    EXPECT_EQ(button, root.findWidget(21, 61));
    dialog->setModalMark(true);
    EXPECT_EQ(dialog, root.findWidget(5, 5));
    EXPECT_EQ(button, root.findWidget(21, 61));
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

TEST(WidgetInputTest, TimersAreKilledAtTheRootAlsoWhenTheWidgetGoes)
{
    TimerRoot root;
    Widget* w = new Widget(&root);
    const int first = w->addTimeout(100);
    const int second = w->addTimeout(200);
    w->killTimeout(first);

    // An id the widget does not own is still killed at the root first.
    const int foreign = root.addWidgetTimeout(&root, 50);
    try {
        w->killTimeout(foreign);
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ("Tried to remove non-existing timer!", e.what());
    }
    const int third = w->addTimeout(300);
    EXPECT_TRUE(w->nuke());
    Widget* other = new Widget(&root);
    const int fourth = other->addTimeout(10);
    const int fifth = other->addTimeout(10);
    other->killAllTimeouts();
    EXPECT_EQ((std::vector<int>{first, foreign, second, third, fourth, fifth}), root.m_killed);
}
