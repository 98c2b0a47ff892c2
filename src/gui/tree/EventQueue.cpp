#include "gui/tree/RootWidget.h"

namespace OKU {

namespace {

std::unique_ptr<RootWidget::Event> popFront(std::list<std::unique_ptr<RootWidget::Event>>& events)
{
    std::unique_ptr<RootWidget::Event> e = std::move(events.front());
    events.pop_front();
    return e;
}

} // namespace

void RootWidget::EventQueue::push_back(std::unique_ptr<Event> e)
{
    bool wasEmpty;
    {
        MutexLocker lock(m_mutex);
        wasEmpty = m_events.empty();
        if (!wasEmpty) {
            Event& last = *m_events.back();
            // A run of moves collapses into the latest position; a press and
            // a release carry different states and never merge.
            const bool sameMouseState = e->type == Event::EVENT_MOUSE &&
                                        last.type == Event::EVENT_MOUSE && e->c == last.c;
            const bool bothResize =
                e->type == Event::EVENT_RESIZE && last.type == Event::EVENT_RESIZE;
            if (sameMouseState || bothResize) {
                last.a = e->a;
                last.b = e->b;
                last.c = e->c;
                return;
            }
        }
        m_events.push_back(std::move(e));
    }
    // A reader can only be waiting while the queue is empty. It is woken
    // once the lock is free, so that it runs at once instead of waking only
    // to wait for the lock again.
    if (wasEmpty)
        m_cond.signal();
}

void RootWidget::EventQueue::push_front(std::unique_ptr<Event> e)
{
    MutexLocker lock(m_mutex);
    m_events.push_front(std::move(e));
}

std::unique_ptr<RootWidget::Event> RootWidget::EventQueue::pull()
{
    MutexLocker lock(m_mutex);
    while (m_events.empty())
        m_cond.wait(m_mutex);
    return popFront(m_events);
}

std::unique_ptr<RootWidget::Event> RootWidget::EventQueue::pullUntil(const TimeSpec& deadline)
{
    MutexLocker lock(m_mutex);
    while (m_events.empty()) {
        // An event may have come in while the timed-out wait took the lock back.
        if (!m_cond.waitUntil(m_mutex, deadline) && m_events.empty())
            return nullptr;
    }
    return popFront(m_events);
}

bool RootWidget::EventQueue::empty()
{
    MutexLocker lock(m_mutex);
    return m_events.empty();
}

} // namespace OKU
