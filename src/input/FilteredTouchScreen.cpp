#include "input/FilteredTouchScreen.h"

#include <utility>

#include "core/Time.h"

namespace OKU {

FilteredTouchScreen::FilteredTouchScreen(std::unique_ptr<TouchScreen> driver,
                                         const TouchFilterSettings& settings)
    : TouchScreen(driver->getWidth(), driver->getHeight()), m_driver(std::move(driver)),
      m_debounceMs(settings.debounceMs), m_filter(settings)
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
        const bool holding = m_filter.holdsRelease();
        if (holding && !reportBeforeReleaseDue()) {
            m_filter.releaseHeld();
            continue;
        }
        const uint32_t seenMs = monotonicMilliseconds();
        try {
            event = m_driver->getEvent();
        } catch (...) {
            if (!holding)
                throw;
            m_failure = std::current_exception();
            m_filter.releaseHeld();
            continue;
        }
        // A report that was waiting arrived when it was seen, unless reading
        // it took long: then the bytes seen were junk before a later report.
        const uint32_t readMs = monotonicMilliseconds();
        const bool readAtOnce = static_cast<int32_t>(readMs - seenMs) <= m_debounceMs;
        m_filter.add(event, holding && readAtOnce ? seenMs : readMs, m_raw);
    }
}

bool FilteredTouchScreen::reportBeforeReleaseDue()
{
    for (;;) {
        if (m_driver->reportWaiting())
            return true;
        if (m_filter.holdLeftMs(monotonicMilliseconds()) < 0)
            return false;
        sleepMilliseconds(1);
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
