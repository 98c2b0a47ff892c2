#include "input/detail/FilteredTouchScreen.h"

#include <algorithm>
#include <utility>

#include "core/Condition.h"
#include "core/Time.h"

namespace OKU {

FilteredTouchScreen::FilteredTouchScreen(std::unique_ptr<TouchScreen> driver,
                                         const TouchFilterSettings& settings)
    : TouchScreen(driver->getWidth(), driver->getHeight()), m_driver(std::move(driver)),
      m_filter(settings)
{
    setRotation(m_driver->getRotation());
}

void FilteredTouchScreen::init()
{
    m_driver->init();
}

TouchScreen::Event FilteredTouchScreen::getEvent()
{
    for (;;) {
        Event event;
        if (m_filter.take(event))
            return event;
        if (m_failure)
            std::rethrow_exception(std::exchange(m_failure, nullptr));
        if (!m_filter.holdsRelease()) {
            event = m_driver->getEvent();
            m_filter.add(event, monotonicMilliseconds(), m_raw);
            continue;
        }
        const uint32_t startMs = monotonicMilliseconds();
        const int32_t leftMs = std::max(0, m_filter.holdLeftMs(startMs));
        const uint32_t dueMs = startMs + leftMs;
        bool received;
        try {
            received = m_driver->getEventBefore(
                monotonicNow() + TimeSpec::fromMilliseconds(leftMs), event);
        } catch (...) {
            m_failure = std::current_exception();
            received = false;
        }
        if (!received) {
            m_filter.releaseHeld();
            continue;
        }
        // The report began in time, however long the rest of it took.
        const uint32_t nowMs = monotonicMilliseconds();
        m_filter.add(event, static_cast<int32_t>(nowMs - dueMs) > 0 ? dueMs : nowMs, m_raw);
    }
}

bool FilteredTouchScreen::reportWaiting()
{
    return m_filter.hasPending() || m_driver->reportWaiting();
}

// The flag is set before the driver's and cleared after it, so that raw
// positions are never measured as pixels.
void FilteredTouchScreen::startRawCoordinates()
{
    m_raw = true;
    m_driver->startRawCoordinates();
}

void FilteredTouchScreen::endRawCoordinates()
{
    m_driver->endRawCoordinates();
    m_raw = false;
}

void FilteredTouchScreen::setCalibration(const std::vector<CalibrationPoint>& points, int width,
                                         int height)
{
    m_driver->setCalibration(points, width, height);
}

} // namespace OKU
