#include "gui/tree/RootWidget.h"

#include <algorithm>

#include "core/FatalError.h"

namespace OKU {

namespace {

// The heap algorithms keep the largest element on top; "larger" here means
// the earlier deadline.
bool laterDeadline(const RootWidget::Timeout& a, const RootWidget::Timeout& b)
{
    return a.deadline > b.deadline;
}

} // namespace

int RootWidget::addWidgetTimeout(Widget* w, int ms)
{
    const TimeSpec interval = TimeSpec::fromMilliseconds(ms);
    const TimeSpec now = monotonicNow();
    MutexLocker lock(m_mutex);
    const int32_t id = m_nextTimerId++;
    m_timerHeap.push_back(Timeout{w, interval, id, now + interval});
    std::push_heap(m_timerHeap.begin(), m_timerHeap.end(), laterDeadline);
    return id;
}

void RootWidget::killWidgetTimeout(int id)
{
    MutexLocker lock(m_mutex);
    const std::vector<Timeout>::iterator it =
        std::find_if(m_timerHeap.begin(), m_timerHeap.end(),
                     [id](const Timeout& t) { return t.id == id; });
    if (it == m_timerHeap.end())
        fatalError("Attempt to remove nonexisting timer %d.", id);
    m_timerHeap.erase(it);
    std::make_heap(m_timerHeap.begin(), m_timerHeap.end(), laterDeadline);
}

bool RootWidget::getEarliestDeadline(TimeSpec& deadline)
{
    MutexLocker lock(m_mutex);
    if (m_timerHeap.empty())
        return false;
    deadline = m_timerHeap.front().deadline;
    return true;
}

std::unique_ptr<RootWidget::Event> RootWidget::fireEarliestTimer()
{
    MutexLocker lock(m_mutex);
    if (m_timerHeap.empty())
        return nullptr;
    std::pop_heap(m_timerHeap.begin(), m_timerHeap.end(), laterDeadline);
    Timeout& timer = m_timerHeap.back();
    // A late timer fires once and keeps its rhythm: the next deadline
    // follows the old one, not the current time.
    timer.deadline += timer.interval;
    std::unique_ptr<Event> e(new Event);
    e->type = Event::EVENT_TIMEOUT;
    e->a = reinterpret_cast<intptr_t>(timer.widget);
    e->b = timer.id;
    std::push_heap(m_timerHeap.begin(), m_timerHeap.end(), laterDeadline);
    return e;
}

} // namespace OKU
