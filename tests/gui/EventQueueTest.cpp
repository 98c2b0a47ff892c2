#include <thread>

#include <gtest/gtest.h>

#include "gui/RootWidget.h"

using OKU::RootWidget;
using OKU::TimeSpec;
typedef RootWidget::Event Event;

namespace {

// An event as pushed and as pulled: type, a, b, c.
typedef std::vector<std::vector<intptr_t>> Events;

std::unique_ptr<Event> makeEvent(const std::vector<intptr_t>& v)
{
    std::unique_ptr<Event> e(new Event);
    e->type = static_cast<int>(v[0]);
    e->a = v[1];
    e->b = static_cast<int>(v[2]);
    e->c = static_cast<int>(v[3]);
    return e;
}

Events drain(RootWidget::EventQueue& q)
{
    Events seen;
    while (!q.empty()) {
        std::unique_ptr<Event> e = q.pull();
        seen.push_back({e->type, e->a, e->b, e->c});
    }
    return seen;
}

TimeSpec millisecondsFromNow(int ms)
{
    return OKU::monotonicNow() + TimeSpec::fromMilliseconds(ms);
}

// Short so that the tables stay readable.
const intptr_t M = Event::EVENT_MOUSE;
const intptr_t K = Event::EVENT_KEY;
const intptr_t R = Event::EVENT_RESIZE;

} // namespace

TEST(EventQueueTest, OnlyTheTailMergesAndOnlyMovesOfTheSameStateAndResizes)
{
    const struct {
        Events pushed;
        Events pulled;
    } cases[] = {
        {{{M, 1, 2, 1}, {M, 3, 4, 1}, {M, 5, 6, 0}, {M, 7, 8, 0}, {M, 9, 9, 1}},
         {{M, 3, 4, 1}, {M, 7, 8, 0}, {M, 9, 9, 1}}},
        {{{M, 1, 1, 1}, {K, 3, 'x', 0}, {M, 2, 2, 1}, {R, 10, 20, 0}, {R, 30, 40, 0},
          {K, 3, 'y', 0}, {K, 3, 'z', 0}, {R, 50, 60, 0}},
         {{M, 1, 1, 1}, {K, 3, 'x', 0}, {M, 2, 2, 1}, {R, 30, 40, 0}, {K, 3, 'y', 0},
          {K, 3, 'z', 0}, {R, 50, 60, 0}}},
    };
    for (const auto& c : cases) {
        RootWidget::EventQueue q;
        for (const auto& e : c.pushed)
            q.push_back(makeEvent(e));
        EXPECT_EQ(c.pulled, drain(q));
    }

    // push_front goes to the head and never merges.
    RootWidget::EventQueue q;
    q.push_front(makeEvent({M, 1, 1, 1}));
    q.push_front(makeEvent({M, 2, 2, 1}));
    q.push_back(makeEvent({M, 3, 3, 1}));
    EXPECT_EQ((Events{{M, 2, 2, 1}, {M, 3, 3, 1}}), drain(q));
}

TEST(EventQueueTest, PullUntilGivesUpAtTheDeadlineButWakesForEventsFromAnotherThread)
{
    RootWidget::EventQueue q;
    EXPECT_EQ(nullptr, q.pullUntil(millisecondsFromNow(20)));
    EXPECT_EQ(nullptr, q.pullUntil(millisecondsFromNow(-1000)));
    q.push_back(makeEvent({M, 1, 1, 0}));
    ASSERT_NE(nullptr, q.pullUntil(millisecondsFromNow(-1000)));
    EXPECT_TRUE(q.empty());

    std::thread producer([&q] { q.push_back(makeEvent({K, 3, 'k', 0})); });
    // Long enough never to expire unless the wake-up is lost.
    std::unique_ptr<Event> e = q.pullUntil(millisecondsFromNow(30000));
    producer.join();
    ASSERT_NE(nullptr, e);
    EXPECT_EQ('k', e->b);
    std::thread second([&q] { q.push_back(makeEvent({K, 3, 'l', 0})); });
    EXPECT_EQ('l', q.pull()->b);
    second.join();
}
