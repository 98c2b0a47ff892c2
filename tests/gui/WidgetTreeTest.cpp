#include <cstdio>
#include <functional>

#include "gui/LoggingWidget.h"

using namespace OKU;

const int c_life = LoggingWidget::LIFE;

TEST(WidgetTreeTest, CreationRunsChildrenFirstOnceEachAndReachesWidgetsBuiltMeanwhile)
{
    Log log;
    TestRootWidget root;
    LoggingWidget* a = new LoggingWidget(&root, "a", log, c_life);
    LoggingWidget* b = new LoggingWidget(a, "b", log, c_life);
    new LoggingWidget(a, "c", log, c_life);
    new LoggingWidget(&root, "d", log, c_life);
    b->m_creationHook = [b, &log] { new LoggingWidget(b, "b1", log, c_life); };
    a->m_creationHook = [a, &log] { new LoggingWidget(a, "a1", log, c_life); };
    EXPECT_TRUE(root.hasDescendantCreated());

    root.onCreationCaller();
    EXPECT_EQ((Log{"b create", "c create", "b1 create", "a create", "d create", "a1 create"}),
              log);
    EXPECT_FALSE(root.hasDescendantCreated());
    log.clear();
    root.runPending();
    EXPECT_TRUE(log.empty());
}

TEST(WidgetTreeTest, AlwaysOnTopChildrenStayAboveOrdinaryOnes)
{
    Log log;
    TestRootWidget root;
    Widget* a = new LoggingWidget(&root, "a", log, c_life);
    Widget* top = new LoggingWidget(&root, "top", log, c_life);
    top->enableAlwaysOnTop(true);
    Widget* b = new LoggingWidget(&root, "b", log, c_life);
    EXPECT_EQ((Widget::Children{a, b, top}), root.getChildren());
    a->enableAlwaysOnTop(true);
    EXPECT_EQ((Widget::Children{b, top, a}), root.getChildren());
    // Switching off keeps the place; later children go below the first always-on-top one.
    a->enableAlwaysOnTop(false);
    Widget* c = new LoggingWidget(&root, "c", log, c_life);
    EXPECT_EQ((Widget::Children{b, c, top, a}), root.getChildren());
}

TEST(WidgetTreeTest, ChildEventsAreEmittedOncePerPassAndNotForDestroyedWidgets)
{
    Log log;
    TestRootWidget root;
    Widget* parent = new LoggingWidget(&root, "parent", log, c_life);
    int changes = 0;
    parent->m_childrenChanged.connect([&changes] { ++changes; });
    Widget* first = new LoggingWidget(parent, "first", log, c_life);
    new LoggingWidget(parent, "second", log, c_life);
    first->enableAlwaysOnTop(true);
    EXPECT_EQ(0, changes);
    root.runPending();
    root.runPending();
    EXPECT_EQ(1, changes);
    first->destroy();
    root.runPending();
    EXPECT_EQ(2, changes);

    parent->protect();
    new LoggingWidget(parent, "third", log, c_life);
    parent->destroy();
    root.registerChildEvent(parent);
    root.runPending();
    parent->unprotect();
    root.runPending();
    EXPECT_EQ(2, changes);
    EXPECT_TRUE(root.getChildren().empty());
}

TEST(WidgetTreeTest, ChildEventsReachEveryWatchedWidgetAHandlerLeavesAlive)
{
    Log log;
    Log changed;
    TestRootWidget root;
    std::vector<Widget*> watched;
    for (const char* name : {"a", "b", "c", "d", "e"}) {
        Widget* w = new LoggingWidget(&root, name, log, c_life);
        w->m_childrenChanged.connect([&changed, name] { changed.push_back(name); });
        new LoggingWidget(w, "child", log, c_life);
        watched.push_back(w);
    }
    // c's handler removes a, whose signal came already, and d, whose has not.
    watched[2]->m_childrenChanged.connect([&watched] {
        watched[0]->nuke();
        watched[3]->nuke();
    });
    root.runPending();
    EXPECT_EQ((Log{"a", "b", "c", "e"}), changed);
    EXPECT_EQ((Widget::Children{watched[1], watched[2], watched[4]}), root.getChildren());
}

TEST(WidgetTreeTest, SetParentMovesTheWidgetWithItsPendingWork)
{
    Log log;
    TestRootWidget root;
    Widget* a = new LoggingWidget(&root, "a", log, c_life);
    Widget* b = new LoggingWidget(&root, "b", log, c_life);
    b->resize(30, 30);
    root.runPending();
    log.clear();

    // Not created yet: the creation pass must find it under the new parent.
    Widget* fresh = new LoggingWidget(a, "fresh", log, c_life);
    fresh->setParent(b);
    EXPECT_EQ((Widget::Children{fresh}), b->getChildren());
    EXPECT_TRUE(a->getChildren().empty());
    root.runPending();
    EXPECT_EQ((Log{"fresh parent resized", "fresh create"}), log);

    // A destroyed grandchild travels along and is still reaped.
    Widget* holder = new LoggingWidget(a, "holder", log, c_life);
    new LoggingWidget(holder, "doomed", log, c_life);
    root.runPending();
    log.clear();
    holder->getChildren().front()->destroy();
    holder->setParent(b);
    holder->setParent(b);
    root.runPending();
    EXPECT_EQ((Log{"holder parent resized", "doomed delete"}), log);
}

TEST(WidgetTreeTest, DestroyMarksAndTheReaperDeletesChildrenFirstOnceUnprotected)
{
    Log log;
    TestRootWidget root;
    Widget* a = new LoggingWidget(&root, "a", log, c_life);
    Widget* b = new LoggingWidget(a, "b", log, c_life);
    new LoggingWidget(a, "c", log, c_life);
    Widget* d = new LoggingWidget(&root, "d", log, c_life);
    root.runPending();
    log.clear();
    EXPECT_TRUE(root.isDescendant(b));
    EXPECT_FALSE(b->isDescendant(a));

    a->destroy();
    a->destroy();
    EXPECT_TRUE(b->isDestroyed());
    EXPECT_FALSE(b->isMarkedDestroyed());
    EXPECT_EQ(Widget::Children{d}, root.getChildren());
    EXPECT_FALSE(root.isDescendant(b));
    EXPECT_TRUE(log.empty());

    // A protected child keeps its destroyed parent alive; protection counts.
    b->protect();
    d->protect();
    d->protect();
    d->destroy();
    EXPECT_FALSE(root.grimReaper());
    EXPECT_EQ((Log{"c delete"}), log);
    b->unprotect();
    d->unprotect();
    EXPECT_FALSE(root.grimReaper());
    EXPECT_EQ((Log{"c delete", "b delete", "a delete"}), log);
    d->unprotect();
    EXPECT_TRUE(root.grimReaper());
    EXPECT_EQ((Log{"c delete", "b delete", "a delete", "d delete"}), log);
}

TEST(WidgetTreeTest, NukeDeleteChildrenAndArmageddon)
{
    Log log;
    TestRootWidget root;
    Widget* a = new LoggingWidget(&root, "a", log, c_life);
    Widget* b = new LoggingWidget(&root, "b", log, c_life);
    Widget* guarded = new LoggingWidget(b, "guarded", log, c_life);
    EXPECT_TRUE(a->nuke());
    guarded->protect();
    EXPECT_FALSE(b->nuke());
    EXPECT_EQ((Log{"a delete"}), log);
    guarded->unprotect();
    root.runPending();
    EXPECT_EQ((Log{"a delete", "guarded delete", "b delete"}), log);

    log.clear();
    Widget* parent = new LoggingWidget(&root, "parent", log, c_life);
    new LoggingWidget(parent, "x", log, c_life);
    Widget* y = new LoggingWidget(parent, "y", log, c_life);
    new LoggingWidget(parent, "z", log, c_life);
    y->protect();
    EXPECT_FALSE(parent->deleteChildren());
    EXPECT_EQ((Log{"x delete", "z delete"}), log);
    EXPECT_EQ((Widget::Children{y}), parent->getChildren());
    y->unprotect();
    EXPECT_TRUE(parent->deleteChildren());

    // Armageddon ignores protection.
    log.clear();
    Widget* top = new LoggingWidget(nullptr, "top", log, c_life);
    Widget* p = new LoggingWidget(top, "p", log, c_life);
    new LoggingWidget(p, "p1", log, c_life);
    Widget* q = new LoggingWidget(top, "q", log, c_life);
    p->protect();
    q->protect();
    q->destroy();
    top->armageddon();
    EXPECT_EQ((Log{"p1 delete", "p delete", "q delete", "top delete"}), log);
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
