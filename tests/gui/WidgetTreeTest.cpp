#include <cstdio>
#include <functional>
#include <thread>

#include "gui/TestRootWidget.h"

using namespace OKU;

namespace {

// Logs its creation and deletion.
class LoggingWidget : public Widget {
public:
    LoggingWidget(Widget* parent, const std::string& name, Log& log)
        : Widget(parent, 0, 0, 10, 10), m_name(name), m_log(log)
    {
    }
    ~LoggingWidget() override { m_log.push_back("delete " + m_name); }
    void onCreation() override
    {
        m_log.push_back("create " + m_name);
        if (m_creationHook)
            m_creationHook();
    }
    void onParentResized() override { m_log.push_back("parent resized " + m_name); }

    std::function<void()> m_creationHook;

private:
    std::string m_name;
    Log& m_log;
};

} // namespace

TEST(WidgetTreeTest, CreationRunsChildrenFirstOnceEachAndReachesWidgetsBuiltMeanwhile)
{
    Log log;
    TestRootWidget root;
    LoggingWidget* a = new LoggingWidget(&root, "a", log);
    LoggingWidget* b = new LoggingWidget(a, "b", log);
    new LoggingWidget(a, "c", log);
    new LoggingWidget(&root, "d", log);
    b->m_creationHook = [b, &log] { new LoggingWidget(b, "b1", log); };
    a->m_creationHook = [a, &log] { new LoggingWidget(a, "a1", log); };
    EXPECT_TRUE(root.hasDescendantCreated());

    root.onCreationCaller();
    EXPECT_EQ((Log{"create b", "create c", "create b1", "create a", "create d", "create a1"}),
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
    Widget* a = new LoggingWidget(&root, "a", log);
    Widget* top = new LoggingWidget(&root, "top", log);
    top->enableAlwaysOnTop(true);
    Widget* b = new LoggingWidget(&root, "b", log);
    EXPECT_EQ((Widget::Children{a, b, top}), root.getChildren());
    a->enableAlwaysOnTop(true);
    EXPECT_EQ((Widget::Children{b, top, a}), root.getChildren());
    // Switching off keeps the place; later children go below the first always-on-top one.
    a->enableAlwaysOnTop(false);
    Widget* c = new LoggingWidget(&root, "c", log);
    EXPECT_EQ((Widget::Children{b, c, top, a}), root.getChildren());
}

TEST(WidgetTreeTest, ChildEventsAreEmittedOncePerPassAndNotForDestroyedWidgets)
{
    Log log;
    TestRootWidget root;
    Widget* parent = new LoggingWidget(&root, "parent", log);
    int changes = 0;
    parent->m_childrenChanged.connect([&changes] { ++changes; });
    Widget* first = new LoggingWidget(parent, "first", log);
    new LoggingWidget(parent, "second", log);
    first->enableAlwaysOnTop(true);
    EXPECT_EQ(0, changes);
    root.runPending();
    root.runPending();
    EXPECT_EQ(1, changes);
    first->destroy();
    root.runPending();
    EXPECT_EQ(2, changes);

    parent->protect();
    new LoggingWidget(parent, "third", log);
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
        Widget* w = new LoggingWidget(&root, name, log);
        w->m_childrenChanged.connect([&changed, name] { changed.push_back(name); });
        new LoggingWidget(w, "child", log);
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
    Widget* a = new LoggingWidget(&root, "a", log);
    Widget* b = new LoggingWidget(&root, "b", log);
    b->resize(30, 30);
    root.runPending();
    log.clear();

    // Not created yet: the creation pass must find it under the new parent.
    Widget* fresh = new LoggingWidget(a, "fresh", log);
    fresh->setParent(b);
    EXPECT_EQ((Widget::Children{fresh}), b->getChildren());
    EXPECT_TRUE(a->getChildren().empty());
    root.runPending();
    EXPECT_EQ((Log{"parent resized fresh", "create fresh"}), log);

    // A destroyed grandchild travels along and is still reaped.
    Widget* holder = new LoggingWidget(a, "holder", log);
    new LoggingWidget(holder, "doomed", log);
    root.runPending();
    log.clear();
    holder->getChildren().front()->destroy();
    holder->setParent(b);
    holder->setParent(b);
    root.runPending();
    EXPECT_EQ((Log{"parent resized holder", "delete doomed"}), log);
}

TEST(WidgetTreeTest, DestroyMarksAndTheReaperDeletesChildrenFirst)
{
    Log log;
    TestRootWidget root;
    Widget* a = new LoggingWidget(&root, "a", log);
    Widget* b = new LoggingWidget(a, "b", log);
    new LoggingWidget(a, "c", log);
    root.runPending();
    log.clear();
    EXPECT_TRUE(root.isDescendant(b));
    EXPECT_FALSE(b->isDescendant(a));

    a->destroy();
    a->destroy();
    EXPECT_TRUE(b->isDestroyed());
    EXPECT_FALSE(b->isMarkedDestroyed());
    EXPECT_TRUE(root.getChildren().empty());
    EXPECT_FALSE(root.isDescendant(b));
    EXPECT_TRUE(log.empty());
    root.runPending();
    EXPECT_EQ((Log{"delete b", "delete c", "delete a"}), log);
}

TEST(WidgetTreeTest, ProtectionPostponesDeletionUntilItEnds)
{
    Log log;
    TestRootWidget root;
    Widget* a = new LoggingWidget(&root, "a", log);
    Widget* b = new LoggingWidget(a, "b", log);
    Widget* c = new LoggingWidget(&root, "c", log);
    root.runPending();
    log.clear();

    // A protected child keeps its destroyed parent alive.
    b->protect();
    a->destroy();
    c->protect();
    c->protect();
    c->destroy();
    EXPECT_FALSE(root.grimReaper());
    EXPECT_TRUE(log.empty());
    b->unprotect();
    c->unprotect();
    EXPECT_FALSE(root.grimReaper());
    EXPECT_EQ((Log{"delete b", "delete a"}), log);
    c->unprotect();
    EXPECT_TRUE(root.grimReaper());
    EXPECT_EQ((Log{"delete b", "delete a", "delete c"}), log);
}

TEST(WidgetTreeTest, NukeDeleteChildrenAndArmageddon)
{
    Log log;
    TestRootWidget root;
    Widget* a = new LoggingWidget(&root, "a", log);
    Widget* b = new LoggingWidget(&root, "b", log);
    Widget* guarded = new LoggingWidget(b, "guarded", log);
    EXPECT_TRUE(a->nuke());
    guarded->protect();
    EXPECT_FALSE(b->nuke());
    EXPECT_EQ((Log{"delete a"}), log);
    guarded->unprotect();
    root.runPending();
    EXPECT_EQ((Log{"delete a", "delete guarded", "delete b"}), log);

    log.clear();
    Widget* parent = new LoggingWidget(&root, "parent", log);
    new LoggingWidget(parent, "x", log);
    Widget* y = new LoggingWidget(parent, "y", log);
    new LoggingWidget(parent, "z", log);
    y->protect();
    EXPECT_FALSE(parent->deleteChildren());
    EXPECT_EQ((Log{"delete x", "delete z"}), log);
    EXPECT_EQ((Widget::Children{y}), parent->getChildren());
    y->unprotect();
    EXPECT_TRUE(parent->deleteChildren());

    // Armageddon ignores protection.
    log.clear();
    Widget* top = new LoggingWidget(nullptr, "top", log);
    Widget* p = new LoggingWidget(top, "p", log);
    new LoggingWidget(p, "p1", log);
    Widget* q = new LoggingWidget(top, "q", log);
    p->protect();
    q->protect();
    q->destroy();
    top->armageddon();
    EXPECT_EQ((Log{"delete p1", "delete p", "delete q", "delete top"}), log);
}

TEST(WidgetTreeTest, ModalRunsTheLoopElsewhereAndKeepsTheDialogUntilItReturns)
{
    Log log;
    TestRootWidget root;
    LoggingWidget* dialog = new LoggingWidget(&root, "dialog", log);
    root.runPending();
    log.clear();

    const std::thread::id caller = std::this_thread::get_id();
    bool ranElsewhere = false;
    int protectCount = 0;
    bool modalMark = false;
    root.injectFunction(dialog, [&] {
        ranElsewhere = std::this_thread::get_id() != caller;
        protectCount = dialog->getProtectCount();
        modalMark = dialog->isModal();
        dialog->destroy();
    });
    dialog->modal();
    EXPECT_TRUE(ranElsewhere);
    EXPECT_EQ(1, protectCount);
    EXPECT_TRUE(modalMark);
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(0, dialog->getProtectCount());
    EXPECT_TRUE(log.empty());
    root.runPending();
    EXPECT_EQ((Log{"delete dialog"}), log);

    // A destroyed widget returns at once.
    LoggingWidget* gone = new LoggingWidget(&root, "gone", log);
    gone->destroy();
    gone->modal();
    EXPECT_EQ(0, gone->getProtectCount());
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
