#include <thread>

#include "gui/TestRootWidget.h"

using namespace OKU;
typedef RootWidget::Event Event;

namespace {

// An event as pushed and as pulled: type, a, b, c.
typedef std::vector<std::vector<intptr_t>> Events;

std::unique_ptr<Event> makeEvent(const std::vector<intptr_t>& v)
{
    return std::unique_ptr<Event>(new Event{static_cast<int32_t>(v[0]), v[1],
                                            static_cast<int32_t>(v[2]),
                                            static_cast<int32_t>(v[3]), nullptr, TimeSpec()});
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
    return monotonicNow() + TimeSpec::fromMilliseconds(ms);
}

// Short so that the tables stay readable.
const intptr_t M = Event::EVENT_MOUSE;
const intptr_t K = Event::EVENT_KEY;
const intptr_t R = Event::EVENT_RESIZE;

const int c_producers = 4;
const int c_eventsPerProducer = 100000;
const int c_keyBase = 1000000;

// A mouse event: the coordinates carry the producer and its sequence number.
struct Mouse {
    char kind; // 'd'own, 'm'ove, 'u'p; pushes: 'p'ressed, 'r'eleased
    int thread;
    int seq;
};

// Holds the mouse grab, so every press reaches it.
class Sink : public Widget {
public:
    explicit Sink(Widget* parent) : Widget(parent, 0, 0, 10, 10) {}
    void onMouseDown(int x, int y) override { m_mouse.push_back(Mouse{'d', x, y}); }
    void onMouseMove(int x, int y) override { m_mouse.push_back(Mouse{'m', x, y}); }
    void onMouseUp(int x, int y) override { m_mouse.push_back(Mouse{'u', x, y}); }
    bool onKey(KeyCode, wchar_t c) override
    {
        m_ordered[c / c_keyBase].push_back(c % c_keyBase);
        return true;
    }

    std::vector<Mouse> m_mouse;
    std::vector<int> m_ordered[c_producers]; // keys and functions by sequence number
};

struct Stress {
    TestRootWidget root;
    Sink* sink = new Sink(&root);
    std::mutex mutex;
    std::vector<Mouse> mousePushes;
};

void produce(Stress& s, int thread)
{
    Sink* sink = s.sink;
    for (int seq = 0; seq < c_eventsPerProducer; ++seq) {
        if (seq % 5 == 2) {
            s.root.injectKeyEvent(KEY_NONE, static_cast<wchar_t>(thread * c_keyBase + seq));
        } else if (seq % 5 == 4) {
            s.root.injectFunction(sink,
                                  [sink, thread, seq] { sink->m_ordered[thread].push_back(seq); });
        } else {
            // Serialised only to record the order in which the queue saw them.
            const bool pressed = seq % 5 != 3;
            std::lock_guard<std::mutex> lock(s.mutex);
            s.root.injectMouseEvent(thread, seq, pressed);
            s.mousePushes.push_back(Mouse{pressed ? 'p' : 'r', thread, seq});
        }
    }
}

// A push may be missing only when the next push had the same state (they
// merged) or when it is a release while no press was held (ignored).
void checkMouse(const std::vector<Mouse>& pushed, const std::vector<Mouse>& seen)
{
    size_t next = 0;
    bool down = false;
    for (size_t n = 0; n < pushed.size(); ++n) {
        const Mouse& p = pushed[n];
        const bool pressed = p.kind == 'p';
        if (next < seen.size() && seen[next].thread == p.thread && seen[next].seq == p.seq) {
            ASSERT_EQ(pressed ? (down ? 'm' : 'd') : 'u', seen[next].kind) << "push " << n;
            ASSERT_TRUE(pressed || down) << "release without press delivered at " << n;
            down = pressed;
            ++next;
            continue;
        }
        const bool merged = n + 1 < pushed.size() && pushed[n + 1].kind == p.kind;
        ASSERT_TRUE(merged || (!pressed && !down))
            << "lost " << p.kind << " " << p.thread << "/" << p.seq;
    }
    EXPECT_EQ(seen.size(), next) << "deliveries out of order or never sent";
}

} // namespace

TEST(EventQueueTest, OnlyTheTailMergesAndOnlyMovesOfTheSameStateAndResizes)
{
    const struct { Events pushed, pulled; } cases[] = {
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

TEST(EventStressTest, FourProducersLoseNothingAndKeepTheirOrder)
{
    Stress s;
    s.sink->grabMouse();
    // The sink is on the screen before the first finger comes.
    s.root.runPending();
    s.root.start();
    std::vector<std::thread> producers;
    for (int t = 0; t < c_producers; ++t)
        producers.emplace_back(produce, std::ref(s), t);
    for (std::thread& p : producers)
        p.join();
    s.root.stopGuiThread();

    std::vector<int> expected;
    for (int seq = 0; seq < c_eventsPerProducer; ++seq) {
        if (seq % 5 == 2 || seq % 5 == 4)
            expected.push_back(seq);
    }
    for (int t = 0; t < c_producers; ++t)
        EXPECT_TRUE(expected == s.sink->m_ordered[t]) << "keys and functions of producer " << t;
    checkMouse(s.mousePushes, s.sink->m_mouse);
    EXPECT_FALSE(s.sink->m_mouse.empty());
}
