#include <cstdio>
#include <tuple>

#include "gui/LoggingWidget.h"

using namespace OKU;

const int c_life = LoggingWidget::LIFE;

// Widgets that note their creation and deletion in one log, and the
// widgets whose children changed in another.
class WidgetTreeTest : public testing::Test {
protected:
    Log m_log;
    Log m_changed;
    TestRootWidget m_root;
};

TEST_F(WidgetTreeTest, CreationRunsChildrenFirstOnceEachAndReachesWidgetsBuiltMeanwhile)
{
    LoggingWidget* a = new LoggingWidget(&m_root, "a", m_log, c_life);
    LoggingWidget* b = new LoggingWidget(a, "b", m_log, c_life);
    new LoggingWidget(a, "c", m_log, c_life);
    new LoggingWidget(&m_root, "d", m_log, c_life);
    b->m_creationHook = [b, this] { new LoggingWidget(b, "b1", m_log, c_life); };
    a->m_creationHook = [a, this] { new LoggingWidget(a, "a1", m_log, c_life); };
    EXPECT_TRUE(m_root.hasDescendantCreated());

    m_root.onCreationCaller();
    EXPECT_EQ(
        std::make_pair(
            Log{"b create", "c create", "b1 create", "a create", "d create", "a1 create"}, false),
        std::make_pair(m_log, m_root.hasDescendantCreated()));
    m_log.clear();
    m_root.runPending();
    EXPECT_TRUE(m_log.empty());
}

TEST_F(WidgetTreeTest, AlwaysOnTopChildrenStayAboveOrdinaryOnes)
{
    Widget* a = new LoggingWidget(&m_root, "a", m_log, c_life);
    Widget* top = new LoggingWidget(&m_root, "top", m_log, c_life);
    top->enableAlwaysOnTop(true);
    Widget* b = new LoggingWidget(&m_root, "b", m_log, c_life);
    EXPECT_EQ((Widget::Children{a, b, top}), m_root.getChildren());
    a->enableAlwaysOnTop(true);
    EXPECT_EQ((Widget::Children{b, top, a}), m_root.getChildren());
    // Switching off keeps the place; later children go below the first always-on-top one.
    a->enableAlwaysOnTop(false);
    Widget* c = new LoggingWidget(&m_root, "c", m_log, c_life);
    EXPECT_EQ((Widget::Children{b, c, top, a}), m_root.getChildren());
}

TEST_F(WidgetTreeTest, ChildEventsAreEmittedOncePerPassAndNotForDestroyedWidgets)
{
    LoggingWidget* parent = new LoggingWidget(&m_root, "parent", m_log, c_life);
    int changes = 0;
    parent->m_childrenChanged.connect([&changes] { ++changes; });
    Widget* first = new LoggingWidget(parent, "first", m_log, c_life);
    new LoggingWidget(parent, "second", m_log, c_life);
    first->enableAlwaysOnTop(true);
    EXPECT_EQ(0, changes);
    m_root.runPending();
    m_root.runPending();
    EXPECT_EQ(1, changes);
    first->destroy();
    m_root.runPending();
    EXPECT_EQ(2, changes);

    parent->protect();
    new LoggingWidget(parent, "third", m_log, c_life);
    parent->destroy();
    m_root.registerChildEvent(parent);
    m_root.runPending();
    parent->unprotect();
    m_root.runPending();
    EXPECT_EQ(std::make_pair(2, Widget::Children()), std::make_pair(changes, m_root.getChildren()));
}

TEST_F(WidgetTreeTest, ChildEventsReachEveryWatchedWidgetAHandlerLeavesAlive)
{
    std::vector<Widget*> watched;
    for (const char* name : {"a", "b", "c", "d", "e"}) {
        Widget* w = new LoggingWidget(&m_root, name, m_log, c_life);
        w->m_childrenChanged.connect([this, name] { m_changed.push_back(name); });
        new LoggingWidget(w, "child", m_log, c_life);
        watched.push_back(w);
    }
    // c's handler removes a, whose signal came already, and d, whose has not.
    watched[2]->m_childrenChanged.connect([&watched] {
        watched[0]->nuke();
        watched[3]->nuke();
    });
    m_root.runPending();
    EXPECT_EQ((Log{"a", "b", "c", "e"}), m_changed);
    EXPECT_EQ((Widget::Children{watched[1], watched[2], watched[4]}), m_root.getChildren());
}

TEST_F(WidgetTreeTest, SetParentMovesTheWidgetWithItsPendingWork)
{
    Widget* a = new LoggingWidget(&m_root, "a", m_log, c_life);
    Widget* b = new LoggingWidget(&m_root, "b", m_log, c_life);
    b->resize(30, 30);
    m_root.runPending();
    m_log.clear();

    // Not created yet: the creation pass must find it under the new parent.
    Widget* fresh = new LoggingWidget(a, "fresh", m_log, c_life);
    fresh->setParent(b);
    EXPECT_EQ(std::make_pair(Widget::Children{fresh}, Widget::Children()),
              std::make_pair(b->getChildren(), a->getChildren()));
    m_root.runPending();
    EXPECT_EQ((Log{"fresh parent resized", "fresh create"}), m_log);

    // A destroyed grandchild travels along and is still reaped.
    Widget* holder = new LoggingWidget(a, "holder", m_log, c_life);
    new LoggingWidget(holder, "doomed", m_log, c_life);
    m_root.runPending();
    m_log.clear();
    holder->getChildren().front()->destroy();
    holder->setParent(b);
    holder->setParent(b);
    m_root.runPending();
    EXPECT_EQ((Log{"holder parent resized", "doomed delete"}), m_log);
}

TEST_F(WidgetTreeTest, DestroyMarksAndTheReaperDeletesChildrenFirstOnceUnprotected)
{
    Widget* a = new LoggingWidget(&m_root, "a", m_log, c_life);
    Widget* b = new LoggingWidget(a, "b", m_log, c_life);
    new LoggingWidget(a, "c", m_log, c_life);
    Widget* d = new LoggingWidget(&m_root, "d", m_log, c_life);
    m_root.runPending();
    m_log.clear();
    EXPECT_TRUE(m_root.isDescendant(b) && !b->isDescendant(a));

    a->destroy();
    a->destroy();
    EXPECT_EQ(std::make_tuple(true, false, Widget::Children{d}, false, Log()),
              std::make_tuple(b->isDestroyed(), b->isMarkedDestroyed(), m_root.getChildren(),
                              m_root.isDescendant(b), m_log));

    // A protected child keeps its destroyed parent alive; protection counts.
    b->protect();
    d->protect();
    d->protect();
    d->destroy();
    EXPECT_FALSE(m_root.grimReaper());
    EXPECT_EQ((Log{"c delete"}), m_log);
    b->unprotect();
    d->unprotect();
    EXPECT_FALSE(m_root.grimReaper());
    EXPECT_EQ((Log{"c delete", "b delete", "a delete"}), m_log);
    d->unprotect();
    EXPECT_TRUE(m_root.grimReaper());
    EXPECT_EQ((Log{"c delete", "b delete", "a delete", "d delete"}), m_log);
}

TEST_F(WidgetTreeTest, NukeDeleteChildrenAndArmageddon)
{
    Widget* a = new LoggingWidget(&m_root, "a", m_log, c_life);
    Widget* b = new LoggingWidget(&m_root, "b", m_log, c_life);
    Widget* guarded = new LoggingWidget(b, "guarded", m_log, c_life);
    EXPECT_TRUE(a->nuke());
    guarded->protect();
    EXPECT_FALSE(b->nuke());
    EXPECT_EQ(Log{"a delete"}, m_log);
    guarded->unprotect();
    m_root.runPending();
    EXPECT_EQ((Log{"a delete", "guarded delete", "b delete"}), m_log);

    m_log.clear();
    LoggingWidget* parent = new LoggingWidget(&m_root, "parent", m_log, c_life);
    new LoggingWidget(parent, "x", m_log, c_life);
    Widget* y = new LoggingWidget(parent, "y", m_log, c_life);
    new LoggingWidget(parent, "z", m_log, c_life);
    y->protect();
    EXPECT_FALSE(parent->deleteChildren());
    EXPECT_EQ(std::make_pair(Log{"x delete", "z delete"}, Widget::Children{y}),
              std::make_pair(m_log, parent->getChildren()));
    y->unprotect();
    EXPECT_TRUE(parent->deleteChildren());

    // Armageddon ignores protection.
    m_log.clear();
    LoggingWidget* top = new LoggingWidget(nullptr, "top", m_log, c_life);
    Widget* p = new LoggingWidget(top, "p", m_log, c_life);
    new LoggingWidget(p, "p1", m_log, c_life);
    Widget* q = new LoggingWidget(top, "q", m_log, c_life);
    p->protect();
    q->protect();
    q->destroy();
    top->armageddon();
    EXPECT_EQ((Log{"p1 delete", "p delete", "q delete", "top delete"}), m_log);
}

TEST(WidgetTreeDeathTest, UnbalancedUnprotectAndDeletingAProtectedWidgetAreFatal)
{
    // The check looks at the count before the decrement: one step below zero passes.
    expectFatalError(
        [] {
            Widget w(nullptr);
            w.unprotect();
            fprintf(stderr, "below zero\n");
            w.unprotect();
        },
        "Widget::unprotect\\(\\)", "below zero\n.*");
    expectFatalError(
        [] {
            Widget* w = new Widget(nullptr);
            w->protect();
            delete w;
        },
        "Widget::~Widget\\(\\) protected\\.");
}
