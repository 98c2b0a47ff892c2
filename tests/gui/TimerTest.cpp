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
    TimeSpec deadlineOf(int id) const
    {
        for (const Timeout& t : m_timerHeap)
            if (t.id == id)
                return t.deadline;
        ADD_FAILURE() << "no timer " << id;
        return TimeSpec();
    }
    std::vector<int> m_killed;
};

} // namespace

TEST(TimerTest, LateTimerFiresOncePerMissedDeadlineAfterQueuedEvents)
{
    TimerRoot root;
    Log log;
    Widget* ticker = new LoggingWidget(&root, "t", log, 0);
    root.runPending();
    const int id = ticker->addTimeout(100);
    const TimeSpec first = root.deadlineOf(id);
    // Busy until 350 ms after the start: the deadlines at 100, 200 and 300 ms pass.
    root.injectFunction(nullptr, [&root, ticker, first] {
        while (monotonicNow() < first + TimeSpec::fromMilliseconds(250))
            sleepMilliseconds(5);
        root.injectNotification(ticker, 1);
    });
    EXPECT_TRUE(root.processEvent(true));
    EXPECT_TRUE(root.processEvent(true));
    EXPECT_EQ((Log{"t notification 1"}), log);
    // Each firing re-arms from the old deadline, not from now.
    for (int n = 1; n <= 3; ++n) {
        EXPECT_TRUE(root.processEvent(true));
        EXPECT_EQ(first + TimeSpec::fromMilliseconds(100 * n), root.deadlineOf(id));
    }
    const std::string fired = "t timeout " + std::to_string(id);
    EXPECT_EQ((Log{"t notification 1", fired, fired, fired}), log);
    EXPECT_FALSE(root.processEvent(false));
}

TEST(TimerTest, KilledTimersStopIdsAreNeverReusedAndDestroyedWidgetsMissTheirTimeouts)
{
    TimerRoot root;
    Log log;
    Widget* ticker = new LoggingWidget(&root, "t", log, 0);
    // Far off: the death tests below take seconds under qemu-arm, and none
    // of these may come due before timer 7.
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(n, root.addWidgetTimeout(ticker, 60000 + n));
    expectFatalError([&root] { root.killWidgetTimeout(7); },
                     "Attempt to remove nonexisting timer 7\\.");
    for (int id : {1, 4, 6})
        root.killWidgetTimeout(id);
    ASSERT_EQ(3u, root.m_timerHeap.size());
    EXPECT_EQ(2, root.m_timerHeap.front().id);
    expectFatalError([&root] { root.killWidgetTimeout(4); },
                     "Attempt to remove nonexisting timer 4\\.");
    EXPECT_EQ(7, root.addWidgetTimeout(ticker, 1));
    root.processEvent(true);
    EXPECT_EQ((Log{"t timeout 7"}), log);

    for (int id : {2, 3, 5, 7})
        root.killWidgetTimeout(id);

    // A destroyed widget misses its timeouts; deleting it kills them.
    ticker->addTimeout(1);
    ticker->protect();
    ticker->destroy();
    root.processEvent(true);
    EXPECT_EQ(1u, log.size());
    EXPECT_EQ(1u, root.m_timerHeap.size());
    ticker->unprotect();
    root.runPending();
    EXPECT_TRUE(root.m_timerHeap.empty());
}

TEST(TimerTest, TimersAreKilledAtTheRootAlsoWhenTheWidgetGoes)
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
