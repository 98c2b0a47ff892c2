#include <stdexcept>

#include "gui/TestRootWidget.h"

using namespace OKU;

namespace {

// Logs every key it is offered and takes the ones it is told to.
class KeyProbe : public Widget {
public:
    KeyProbe(Widget* parent, const std::string& name, Log& log)
        : Widget(parent, 0, 0, 10, 10), m_name(name), m_log(log)
    {
    }
    bool onKeyIntercept(KeyCode key, wchar_t c) override
    {
        m_log.push_back("intercept " + m_name + " " + std::to_string(key) + static_cast<char>(c));
        return m_intercepts;
    }
    bool onKey(KeyCode key, wchar_t c) override
    {
        m_log.push_back("key " + m_name + " " + std::to_string(key) + static_cast<char>(c));
        return m_takes;
    }

    bool m_intercepts = false;
    bool m_takes = false;

private:
    std::string m_name;
    Log& m_log;
};

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

TEST(WidgetInputTest, ForegroundAndModalWidgetsCatchPressesAnywhereUnderARightToLeftParent)
{
    TestRootWidget root;
    Widget* parent = new Widget(&root, 0, 0, 100, 100);
    parent->setLayout(Layout::RTL);
    Widget* dialog = new Widget(parent, 60, 60, 20, 20);
    Widget* button = new Widget(dialog, 0, 0, 5, 5);

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
    KeyProbe* outer = new KeyProbe(&root, "outer", log);
    KeyProbe* first = new KeyProbe(outer, "first", log);
    KeyProbe* second = new KeyProbe(outer, "second", log);
    KeyProbe* leaf = new KeyProbe(second, "leaf", log);

    root.injectKeyEvent(KEY_CONFIRM, L'x');
    root.runPending();
    EXPECT_EQ((Log{"intercept outer 3x", "intercept second 3x", "intercept leaf 3x",
                   "key leaf 3x", "key second 3x", "intercept first 3x", "key first 3x",
                   "key outer 3x"}),
              log);

    log.clear();
    leaf->m_takes = true;
    EXPECT_TRUE(outer->deliverKey(KEY_CANCEL, L'y'));
    EXPECT_EQ((Log{"intercept outer 4y", "intercept second 4y", "intercept leaf 4y",
                   "key leaf 4y"}),
              log);
    log.clear();
    second->m_intercepts = true;
    EXPECT_TRUE(outer->deliverKey(KEY_CANCEL, L'y'));
    EXPECT_EQ((Log{"intercept outer 4y", "intercept second 4y"}), log);

    // Disabled subtrees see nothing; passive widgets still intercept.
    log.clear();
    second->disable();
    first->setInteractive(false);
    EXPECT_FALSE(outer->deliverKey(KEY_NONE, L'z'));
    EXPECT_EQ((Log{"intercept outer 0z", "intercept first 0z", "key outer 0z"}), log);

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
