#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "gui/TestRootWidget.h"

using namespace OKU;

namespace {

const int c_producers = 4;
const int c_eventsPerProducer = 100000;
const int c_keyBase = 1000000;

struct MousePush {
    int thread;
    int seq;
    bool pressed;
};

struct MouseDelivery {
    char kind; // 'd'own, 'm'ove, 'u'p
    int thread;
    int seq;
};

// Holds the mouse grab, so every press reaches it wherever it lands; mouse
// coordinates carry the producer and its sequence number.
class Sink : public Widget {
public:
    explicit Sink(Widget* parent) : Widget(parent, 0, 0, 10, 10) {}

    void onMouseDown(int x, int y) override { m_mouse.push_back(MouseDelivery{'d', x, y}); }
    void onMouseMove(int x, int y) override { m_mouse.push_back(MouseDelivery{'m', x, y}); }
    void onMouseUp(int x, int y) override { m_mouse.push_back(MouseDelivery{'u', x, y}); }
    bool onKey(KeyCode, wchar_t c) override
    {
        m_ordered[c / c_keyBase].push_back(c % c_keyBase);
        return true;
    }

    std::vector<MouseDelivery> m_mouse;
    // Keys and functions of each producer, by sequence number.
    std::vector<int> m_ordered[c_producers];
};

// Everything the GUI thread touches; left alone if it never finishes.
struct Stress {
    TestRootWidget root;
    Sink* sink = new Sink(&root);
    std::mutex mouseOrder;
    std::vector<MousePush> mousePushes;
    std::mutex doneMutex;
    std::condition_variable doneCond;
    bool done = false;
};

void produce(Stress& s, int thread)
{
    Sink* sink = s.sink;
    for (int seq = 0; seq < c_eventsPerProducer; ++seq) {
        switch (seq % 5) {
        case 0:
        case 1:
        case 3: {
            // Serialised only to record the order in which the queue saw them.
            const bool pressed = seq % 5 != 3;
            std::lock_guard<std::mutex> lock(s.mouseOrder);
            s.root.injectMouseEvent(thread, seq, pressed);
            s.mousePushes.push_back(MousePush{thread, seq, pressed});
            break;
        }
        case 2:
            s.root.injectKeyEvent(KEY_NONE, static_cast<wchar_t>(thread * c_keyBase + seq));
            break;
        case 4:
            s.root.injectFunction(sink, [sink, thread, seq] { sink->m_ordered[thread].push_back(seq); });
            break;
        }
    }
}

// Replays the pushes against the deliveries. A push may be missing only when
// the next mouse push had the same state (it merged into that one) or when it
// is a release while no press was held (the loop ignores it).
void checkMouse(const std::vector<MousePush>& pushed, const std::vector<MouseDelivery>& seen)
{
    size_t next = 0;
    bool down = false;
    for (size_t n = 0; n < pushed.size(); ++n) {
        const MousePush& p = pushed[n];
        if (next < seen.size() && seen[next].thread == p.thread && seen[next].seq == p.seq) {
            ASSERT_TRUE(p.pressed || down) << "release without press delivered at " << n;
            const char expected = p.pressed ? (down ? 'm' : 'd') : 'u';
            ASSERT_EQ(expected, seen[next].kind) << "push " << n;
            down = p.pressed;
            ++next;
            continue;
        }
        const bool merged = n + 1 < pushed.size() && pushed[n + 1].pressed == p.pressed;
        ASSERT_TRUE(merged || (!p.pressed && !down))
            << "lost " << (p.pressed ? "press" : "release") << " " << p.thread << "/" << p.seq;
    }
    EXPECT_EQ(seen.size(), next) << "deliveries out of order or never sent";
}

} // namespace

TEST(EventStressTest, FourProducersLoseNothingAndKeepTheirOrder)
{
    std::unique_ptr<Stress> s(new Stress);
    s->sink->grabMouse();
    s->root.start();

    std::vector<std::thread> producers;
    for (int t = 0; t < c_producers; ++t)
        producers.emplace_back(produce, std::ref(*s), t);
    for (std::thread& p : producers)
        p.join();
    Stress* raw = s.get();
    s->root.injectFunction(nullptr, [raw] {
        std::lock_guard<std::mutex> lock(raw->doneMutex);
        raw->done = true;
        raw->doneCond.notify_all();
    });
    {
        std::unique_lock<std::mutex> lock(s->doneMutex);
        if (!s->doneCond.wait_for(lock, std::chrono::minutes(10), [raw] { return raw->done; })) {
            // The GUI thread still owns the state: leave it to it.
            s.release();
            FAIL() << "the GUI thread did not get through the events";
        }
    }
    s->root.stopGuiThread();

    for (int t = 0; t < c_producers; ++t) {
        std::vector<int> expected;
        for (int seq = 0; seq < c_eventsPerProducer; ++seq) {
            if (seq % 5 == 2 || seq % 5 == 4)
                expected.push_back(seq);
        }
        EXPECT_TRUE(expected == s->sink->m_ordered[t]) << "keys and functions of producer " << t;
    }
    checkMouse(s->mousePushes, s->sink->m_mouse);
    EXPECT_FALSE(s->sink->m_mouse.empty());
}
