#include "gui/tree/RootWidget.h"

#include <cstdlib>

#include "core/FatalError.h"
#include "core/Thread.h"
#include "core/Time.h"

namespace OKU {

void RootWidget::enableWatchdog(int seconds)
{
    if (getenv("OKU_DISABLE_WATCHDOG") != nullptr)
        return;
    MutexLocker lock(m_wdMutex);
    if (m_wdEnabled)
        fatalError("RootWidget::enableWatchdog: already enabled");
    m_wdEnabled = true;
    m_wdInterval = seconds;
    m_wdTimeout = seconds;
    startDetachedThread([this] { wdThreadMain(); }, "SOLGUI_Watchdog");
}

void RootWidget::resetWatchdog(int seconds)
{
    MutexLocker lock(m_wdMutex);
    m_wdTimeout = seconds;
    m_wdElapsed = 0;
}

int RootWidget::getWatchdogTimeout() const
{
    MutexLocker lock(m_wdMutex);
    return m_wdTimeout;
}

void RootWidget::wdThreadMain()
{
    setThreadName("SOLGUI_Watchdog");
    {
        MutexLocker lock(m_wdMutex);
        m_wdElapsed = 0;
    }
    for (;;) {
        bool wasBusy;
        int32_t counter;
        int32_t interval;
        {
            MutexLocker lock(m_wdMutex);
            wasBusy = m_busy;
            counter = m_eventCounter;
            interval = m_wdInterval;
        }
        sleepMilliseconds(interval * 1000);
        MutexLocker lock(m_wdMutex);
        // Only one and the same event running for the whole interval counts
        // as hanging; anything else means the loop is alive.
        if (wasBusy && m_busy && m_eventCounter == counter) {
            m_wdElapsed += m_wdInterval;
            if (m_wdTimeout > 0 && m_wdElapsed >= m_wdTimeout)
                abort();
        } else {
            m_wdElapsed = 0;
        }
    }
}

} // namespace OKU
