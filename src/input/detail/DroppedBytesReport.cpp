#include "input/detail/DroppedBytesReport.h"

#include "core/Condition.h"
#include "core/Trace.h"

namespace OKU {

namespace {

const TimeSpec c_reportInterval(1, 0);

} // namespace

DroppedBytesReport::DroppedBytesReport(const char* category) : m_category(category) {}

void DroppedBytesReport::dropped(unsigned count)
{
    const TimeSpec now = monotonicNow();
    if (m_pending == 0)
        m_runStart = now;
    m_pending += count;
    if (now >= m_runStart + c_reportInterval && mayReport(now))
        report(now);
}

void DroppedBytesReport::resynchronised()
{
    if (m_pending == 0)
        return;
    const TimeSpec now = monotonicNow();
    if (mayReport(now))
        report(now);
}

bool DroppedBytesReport::mayReport(const TimeSpec& now) const
{
    return !m_reported || now >= m_lastReport + c_reportInterval;
}

void DroppedBytesReport::report(const TimeSpec& now)
{
    traceMessage(m_category, TRACE_WARNING, "Dropped %u byte%s of junk", m_pending,
                 m_pending == 1 ? "" : "s");
    m_pending = 0;
    m_reported = true;
    m_lastReport = now;
}

} // namespace OKU
