#ifndef OKU_INPUT_DETAIL_FILTEREDTOUCHSCREEN_H
#define OKU_INPUT_DETAIL_FILTEREDTOUCHSCREEN_H

#include <atomic>
#include <exception>
#include <memory>
#include <vector>

#include "input/TouchScreen.h"
#include "input/detail/TouchFilter.h"

namespace OKU {

/// A driver's reports through a TouchFilter. Everything else is the driver's.
/// Runs on the reading thread like the driver; the raw-mode switches may come
/// from the GUI thread.
///
/// A held release waits for the driver's next report with getEventBefore(),
/// so a driver that cannot tell whether a report is waiting gets its releases
/// delivered after the debounce time, never joined.
class FilteredTouchScreen : public TouchScreen {
public:
    /// The filtered driver keeps its own size and rotation.
    FilteredTouchScreen(std::unique_ptr<TouchScreen> driver, const TouchFilterSettings& settings);

    void init() override;
    /// A failure of the driver while a release is held delivers the release
    /// first and is thrown by the next call.
    Event getEvent() override;
    bool reportWaiting() override;
    void startRawCoordinates() override;
    void endRawCoordinates() override;
    void setCalibration(const std::vector<CalibrationPoint>& points, int width,
                        int height) override;

private:
    const std::unique_ptr<TouchScreen> m_driver;
    TouchFilter m_filter;
    std::atomic<bool> m_raw{false};
    std::exception_ptr m_failure;
};

} // namespace OKU

#endif
