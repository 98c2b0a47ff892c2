#ifndef OKU_INPUT_TOUCHSCREEN_H
#define OKU_INPUT_TOUCHSCREEN_H

#include <cstdint>
#include <vector>

#include "core/Time.h"

namespace OKU {

/// A touch controller driver. The back end's main loop calls getEvent() over
/// and over on its own thread and turns every report into a mouse event; the
/// calibration screen switches raw mode and installs a calibration from the
/// GUI thread while that loop may be blocked in getEvent(). Drivers therefore
/// hand those settings over so that each report is converted wholly with the
/// old or wholly with the new ones.
class TouchScreen {
public:
    /// One report of the controller, in screen coordinates once calibrated.
    struct Event {
        bool pressed = false; ///< true while the screen is touched
        int32_t x = 0;
        int32_t y = 0;
    };

    /// One target of the calibration screen: where it was drawn and where the
    /// controller saw the touch.
    struct CalibrationPoint {
        int32_t screenX = 0;
        int32_t screenY = 0;
        int32_t rawX = 0;
        int32_t rawY = 0;
    };

    /// The screen size in pixels; software calibration clamps to it.
    TouchScreen(int width, int height) : m_width(width), m_height(height) {}
    TouchScreen(const TouchScreen&) = delete;
    TouchScreen& operator=(const TouchScreen&) = delete;

    /// Opens and configures the device and loads a stored calibration. Device
    /// errors are thrown as std::runtime_error; configuration errors are fatal.
    virtual void init() = 0;
    virtual ~TouchScreen() = default;
    /// Blocks until the next report: raw controller units in raw mode, screen
    /// pixels otherwise.
    virtual Event getEvent() = 0;
    /// Whether a report has arrived that getEvent() has not returned yet, so
    /// that the next call returns without waiting for the panel. Drivers that
    /// cannot tell answer false.
    virtual bool reportWaiting() { return false; }
    /// Like getEvent(), but gives up at deadline (monotonic clock): false when
    /// no report began by then. This one asks reportWaiting() every
    /// millisecond; a driver whose reportWaiting() answers true for bytes that
    /// may be noise watches the deadline itself.
    virtual bool getEventBefore(const TimeSpec& deadline, Event& event);
    virtual void startRawCoordinates() = 0;
    virtual void endRawCoordinates() = 0;
    /// Installs (and stores) a calibration from the screen's points; width
    /// and height are the largest screen coordinates.
    virtual void setCalibration(const std::vector<CalibrationPoint>& points, int width,
                                int height) = 0;

    int getWidth() const { return m_width; }
    int getHeight() const { return m_height; }

    /// How the panel is mounted (0, 90, 180 or 270 degrees clockwise,
    /// core/ScreenRotation.h), set before init() by whoever creates the
    /// driver; getWidth() x getHeight() is then the turned screen. Positions
    /// a driver has in the panel's own pixels are turned with it. Calibrated
    /// ones are not: the calibration was made on the turned screen and maps
    /// raw units to its pixels whatever the mounting.
    void setRotation(int rotation) { m_rotation = rotation; }
    int getRotation() const { return m_rotation; }

    /// Whether the marker file ($OKU_TS_CALIBRATED_FILE, default
    /// "/var/lib/oku-calibrated") exists, and was not to be removed.
    static bool isCalibrated();
    /// true creates the marker empty, false removes it; failures are ignored,
    /// except that a marker which could not be removed counts as absent for
    /// the rest of the run.
    static void setCalibrated(bool calibrated);

protected:
    int32_t m_width;
    int32_t m_height;
    int32_t m_rotation = 0;
};

} // namespace OKU

#endif
