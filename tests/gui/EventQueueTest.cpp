#include "gui/RootWidget.h"

#include <thread>
#include <vector>

#include <gtest/gtest.h>

using OKU::RootWidget;
using OKU::TimeSpec;
typedef RootWidget::Event Event;

namespace {

std::unique_ptr<Event> makeEvent(int type, int a, int b, int c = 0)
{
    std::unique_ptr<Event> e(new Event);
    e->type = type;
    e->a = a;
    e->b = b;
    e->c = c;
    return e;
}

std::unique_ptr<Event> mouse(int x, int y, bool pressed)
{
    return makeEvent(Event::EVENT_MOUSE, x, y, pressed ? 1 : 0);
}

struct Seen {
    int type;
    intptr_t a;
    int b;
    int c;
    bool operator==(const Seen& o) const
    {
        return type == o.type && a == o.a && b == o.b && c == o.c;
    }
};

std::ostream& operator<<(std::ostream& out, const Seen& s)
{
    return out << "{" << s.type << ", " << s.a << ", " << s.b << ", " << s.c << "}";
}

// Empties the queue without blocking.
std::vector<Seen> drain(RootWidget::EventQueue& q)
{
    std::vector<Seen> seen;
    while (!q.empty()) {
        std::unique_ptr<Event> e = q.pull();
        seen.push_back(Seen{e->type, e->a, e->b, e->c});
    }
    return seen;
}

TimeSpec millisecondsFromNow(int ms)
{
    return OKU::monotonicNow() + TimeSpec::fromMilliseconds(ms);
}

} // namespace

TEST(EventQueueTest, MovesOfTheSameStateMergeIntoTheLatestPosition)
{
    RootWidget::EventQueue q;
    q.push_back(mouse(1, 2, true));
    q.push_back(mouse(3, 4, true));
    q.push_back(mouse(5, 6, false));
    q.push_back(mouse(7, 8, false));
    q.push_back(mouse(9, 9, true));
    EXPECT_EQ((std::vector<Seen>{{Event::EVENT_MOUSE, 3, 4, 1},
                                 {Event::EVENT_MOUSE, 7, 8, 0},
                                 {Event::EVENT_MOUSE, 9, 9, 1}}),
              drain(q));
}

TEST(EventQueueTest, OnlyTheTailMergesAndOnlyWithItsOwnKind)
{
    RootWidget::EventQueue q;
    q.push_back(mouse(1, 1, true));
    q.push_back(makeEvent(Event::EVENT_KEY, 3, L'x'));
    q.push_back(mouse(2, 2, true));
    q.push_back(makeEvent(Event::EVENT_RESIZE, 10, 20));
    q.push_back(makeEvent(Event::EVENT_RESIZE, 30, 40));
    q.push_back(makeEvent(Event::EVENT_KEY, 3, L'y'));
    q.push_back(makeEvent(Event::EVENT_KEY, 3, L'z'));
    q.push_back(makeEvent(Event::EVENT_RESIZE, 50, 60));
    EXPECT_EQ((std::vector<Seen>{{Event::EVENT_MOUSE, 1, 1, 1},
                                 {Event::EVENT_KEY, 3, L'x', 0},
                                 {Event::EVENT_MOUSE, 2, 2, 1},
                                 {Event::EVENT_RESIZE, 30, 40, 0},
                                 {Event::EVENT_KEY, 3, L'y', 0},
                                 {Event::EVENT_KEY, 3, L'z', 0},
                                 {Event::EVENT_RESIZE, 50, 60, 0}}),
              drain(q));
}

TEST(EventQueueTest, PushFrontGoesToTheHeadAndNeverMerges)
{
    RootWidget::EventQueue q;
    q.push_front(mouse(1, 1, true));
    q.push_front(mouse(2, 2, true));
    q.push_back(mouse(3, 3, true));
    EXPECT_EQ((std::vector<Seen>{{Event::EVENT_MOUSE, 2, 2, 1}, {Event::EVENT_MOUSE, 3, 3, 1}}),
              drain(q));
}

TEST(EventQueueTest, PullUntilGivesUpAtTheDeadlineButNeverWithEventsWaiting)
{
    RootWidget::EventQueue q;
    EXPECT_EQ(nullptr, q.pullUntil(millisecondsFromNow(20)));
    EXPECT_EQ(nullptr, q.pullUntil(millisecondsFromNow(-1000)));

    q.push_back(mouse(1, 1, false));
    std::unique_ptr<Event> e = q.pullUntil(millisecondsFromNow(-1000));
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(1, e->a);
    EXPECT_TRUE(q.empty());
}

TEST(EventQueueTest, AWaitingReaderWakesForAnEventFromAnotherThread)
{
    RootWidget::EventQueue q;
    std::thread producer([&q] { q.push_back(makeEvent(Event::EVENT_KEY, 3, L'k')); });
    // Long enough never to expire unless the wake-up is lost.
    std::unique_ptr<Event> e = q.pullUntil(millisecondsFromNow(30000));
    producer.join();
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(L'k', e->b);

    std::thread second([&q] { q.push_back(makeEvent(Event::EVENT_KEY, 3, L'l')); });
    EXPECT_EQ(L'l', q.pull()->b);
    second.join();
}
