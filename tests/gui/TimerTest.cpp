#include "core/Time.h"
#include "gui/TestRootWidget.h"

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

class Ticker : public Widget {
public:
    Ticker(Widget* parent, Log& log) : Widget(parent), m_log(log) {}
    void onTimeout(int id) override { m_log.push_back(std::to_string(id)); }
    bool onKey(KeyCode, wchar_t c) override
    {
        m_log.push_back(std::string("key ") + static_cast<char>(c));
        return true;
    }

private:
    Log& m_log;
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
    Ticker* ticker = new Ticker(&root, log);
    root.runPending();
    const int id = ticker->addTimeout(100);
    const TimeSpec first = root.deadlineOf(id);
    // Busy until 350 ms after the start: the deadlines at 100, 200 and 300 ms pass.
    root.injectFunction(nullptr, [&root, first] {
        while (monotonicNow() < first + ms(250))
            sleepMilliseconds(5);
        root.injectKeyEvent(KEY_NONE, L'k');
    });
    EXPECT_TRUE(root.processEvent(true));
    EXPECT_TRUE(root.processEvent(true));
    EXPECT_EQ((Log{"key k"}), log);
    // Each firing re-arms from the old deadline, not from now.
    for (int n = 1; n <= 3; ++n) {
        EXPECT_TRUE(root.processEvent(true));
        EXPECT_EQ(first + ms(100 * n), root.deadlineOf(id));
    }
    const std::string fired = std::to_string(id);
    EXPECT_EQ((Log{"key k", fired, fired, fired}), log);
    EXPECT_FALSE(root.processEvent(false));
}

TEST(TimerTest, TimersFireInDeadlineOrder)
{
    TimerRoot root;
    Log log;
    Ticker* ticker = new Ticker(&root, log);
    const std::string slow = std::to_string(ticker->addTimeout(250));
    const std::string fast = std::to_string(ticker->addTimeout(100));
    const std::string middle = std::to_string(ticker->addTimeout(170));
    for (int n = 0; n < 6; ++n)
        root.processEvent(true);
    // Deadlines 100, 170, 200, 250, 300 and 340 ms after the start.
    EXPECT_EQ((Log{fast, middle, fast, slow, fast, middle}), log);
}

TEST(TimerTest, KilledTimersStopIdsAreNeverReusedAndDestroyedWidgetsMissTheirTimeouts)
{
    TimerRoot root;
    Log log;
    Ticker* ticker = new Ticker(&root, log);
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
    EXPECT_EQ((Log{"7"}), log);

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
