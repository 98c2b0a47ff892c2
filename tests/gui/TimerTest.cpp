#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Time.h"
#include "gui/TestRootWidget.h"

using namespace OKU;

namespace {

typedef std::vector<std::string> Log;

// Exposes the timer heap.
class TimerRoot : public TestRootWidget {
public:
    using RootWidget::m_timerHeap;

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

    void onTimeout(int id) override { m_log.push_back("timeout " + std::to_string(id)); }
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

void sleepUntil(const TimeSpec& t)
{
    while (monotonicNow() < t)
        sleepMilliseconds(5);
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
        sleepUntil(first + ms(250));
        root.injectKeyEvent(KEY_NONE, L'k');
    });
    EXPECT_TRUE(root.processEvent(true));
    EXPECT_TRUE(root.processEvent(true));
    EXPECT_EQ((Log{"key k"}), log);

    for (int n = 1; n <= 3; ++n) {
        EXPECT_TRUE(root.processEvent(true));
        EXPECT_EQ(first + ms(100 * n), root.deadlineOf(id));
    }
    const std::string fired = "timeout " + std::to_string(id);
    EXPECT_EQ((Log{"key k", fired, fired, fired}), log);
    // Due timers wait for an explicit wait.
    EXPECT_FALSE(root.processEvent(false));
}

TEST(TimerTest, TimersFireInDeadlineOrder)
{
    TimerRoot root;
    Log log;
    Ticker* ticker = new Ticker(&root, log);
    const int slow = ticker->addTimeout(250);
    const int fast = ticker->addTimeout(100);
    const int middle = ticker->addTimeout(170);
    for (int n = 0; n < 6; ++n)
        root.processEvent(true);
    // Deadlines 100, 170, 200, 250, 300 and 340 ms after the start.
    const auto t = [](int id) { return "timeout " + std::to_string(id); };
    EXPECT_EQ((Log{t(fast), t(middle), t(fast), t(slow), t(fast), t(middle)}), log);
}

TEST(TimerTest, KilledTimersStopAndIdsAreNeverReused)
{
    TimerRoot root;
    Log log;
    Ticker* ticker = new Ticker(&root, log);
    std::vector<int> ids;
    for (int n = 0; n < 6; ++n)
        ids.push_back(root.addWidgetTimeout(ticker, 1000 + n));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6}), ids);
    expectFatalError([&root] { root.killWidgetTimeout(7); },
                     "Attempt to remove nonexisting timer 7\\.");

    root.killWidgetTimeout(1);
    root.killWidgetTimeout(4);
    root.killWidgetTimeout(6);
    ASSERT_EQ(3u, root.m_timerHeap.size());
    EXPECT_EQ(2, root.m_timerHeap.front().id);
    expectFatalError([&root] { root.killWidgetTimeout(4); },
                     "Attempt to remove nonexisting timer 4\\.");
    EXPECT_EQ(7, root.addWidgetTimeout(ticker, 1));

    // The earliest deadline now belongs to timer 7.
    root.processEvent(true);
    EXPECT_EQ((Log{"timeout 7"}), log);
    for (int id : {2, 3, 5, 7})
        root.killWidgetTimeout(id);
    EXPECT_TRUE(root.m_timerHeap.empty());
}

TEST(TimerTest, DestroyedWidgetsMissTheirTimeouts)
{
    TimerRoot root;
    Log log;
    Ticker* ticker = new Ticker(&root, log);
    ticker->addTimeout(1);
    ticker->protect();
    ticker->destroy();
    root.processEvent(true);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(1u, root.m_timerHeap.size());

    // Deleting the widget kills its timers.
    ticker->unprotect();
    root.runPending();
    EXPECT_TRUE(root.m_timerHeap.empty());
}
