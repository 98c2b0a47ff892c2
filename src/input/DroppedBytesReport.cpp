#include "input/DroppedBytesReport.h"

#include <cstdarg>

#include "core/Condition.h"
#include "core/Trace.h"

namespace OKU {

namespace {

const TimeSpec c_reportInterval(1, 0);

void traceWarning(const char* category, const char* format, ...)
{
    if (TRACE_WARNING > g_traceGlobalLimit)
        return;
    va_list args;
    va_start(args, format);
    trace__internal(category, TRACE_WARNING, format, args, false);
    va_end(args);
}

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
    traceWarning(m_category, "Dropped %u byte%s of junk", m_pending, m_pending == 1 ? "" : "s");
    m_pending = 0;
    m_reported = true;
    m_lastReport = now;
}

} // namespace OKU
