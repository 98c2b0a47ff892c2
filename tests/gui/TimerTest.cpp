#include "core/Time.h"
#include "gui/LoggingWidget.h"

using namespace OKU;

namespace {

class TimerRoot : public TestRootWidget {
public:
    TimeSpec deadlineOf(int id) const
    {
        for (const Timeout& t : m_timerHeap) {
            if (t.id == id)
                return t.deadline;
        }
        ADD_FAILURE() << "no timer " << id;
        return TimeSpec();
    }
};

TimeSpec ms(int milliseconds)
{
    return TimeSpec::fromMilliseconds(milliseconds);
}

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
        while (monotonicNow() < first + ms(250))
            sleepMilliseconds(5);
        root.injectNotification(ticker, 1);
    });
    EXPECT_TRUE(root.processEvent(true));
    EXPECT_TRUE(root.processEvent(true));
    EXPECT_EQ((Log{"t notification 1"}), log);
    // Each firing re-arms from the old deadline, not from now.
    for (int n = 1; n <= 3; ++n) {
        EXPECT_TRUE(root.processEvent(true));
        EXPECT_EQ(first + ms(100 * n), root.deadlineOf(id));
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
