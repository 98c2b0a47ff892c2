#ifndef OKU_INPUT_DETAIL_TOUCHCALIBRATION_H
#define OKU_INPUT_DETAIL_TOUCHCALIBRATION_H

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Geometry.h"
#include "core/Mutex.h"
#include "input/TouchScreen.h"

namespace OKU {

/// The second-order map from raw controller positions to screen pixels used
/// by the drivers that calibrate in software. The twelve coefficients are
/// interleaved by output: c0, c2, c4, c6, c8, c10 give the screen x and c1,
/// c3, c5, c7, c9, c11 the screen y, for the terms x, y, x*y, x*x, y*y, 1.
///
/// Calibration file: one text line "6 c0 c1 ... c11\n", each number after a
/// single space in the default stream format (six significant digits).
class TouchCalibration {
public:
    static constexpr int c_count = 12;
    /// Larger calibration files are refused: the line takes under 200 bytes.
    static constexpr std::uint64_t c_maxFileBytes = 4096;
    typedef std::array<float, c_count> Coefficients;

    /// The identity (c0 = c3 = 1, all others 0).
    TouchCalibration();
    explicit TouchCalibration(const Coefficients& coefficients);

    /// Least-squares fit to the points. Raw values are multiplied by rawScale
    /// first; transform() must be given the same scale. Points that do not
    /// determine the map (all at one place, say) give non-finite coefficients.
    static TouchCalibration fit(const std::vector<TouchScreen::CalibrationPoint>& points,
                                double rawScale);

    /// The screen position of a raw one, computed in float, rounded half up
    /// and clamped to 0..width-1, 0..height-1.
    Point transform(int32_t rawX, int32_t rawY, float rawScale, int width, int height) const;
    /// How far, in pixels, the farthest of the points lands from its screen
    /// position when its raw position is transformed (unrounded, unclamped);
    /// infinite when a coefficient is not finite. A fit that is far off its
    /// own points was made from touches that missed their targets.
    double largestError(const std::vector<TouchScreen::CalibrationPoint>& points,
                        float rawScale) const;

    /// Reads a calibration file; false (leaving this unchanged) when it is
    /// missing or no regular file of at most c_maxFileBytes (the device's
    /// application writes the directory, so it may be a FIFO or a device),
    /// has another header than 6, fewer than twelve numbers or no line end
    /// after the last one.
    bool load(const std::string& path);
    /// Writes a fresh path + ".new" (whatever has that name is removed
    /// first, never written through) and moves it over path with
    /// syncRename, so that a failure or power loss leaves the old file in
    /// place.
    bool save(const std::string& path) const;

    const Coefficients& getCoefficients() const { return m_coefficients; }

private:
    /// The unrounded screen position of a scaled raw one.
    void map(float x, float y, float& screenX, float& screenY) const;

    Coefficients m_coefficients;
};

/// A new calibration is in effect but could not be stored, so it is lost at
/// the next start.
class CalibrationNotSaved : public std::runtime_error {
public:
    explicit CalibrationNotSaved(const std::string& path);
};

/// The raw-mode flag and the calibration of one driver, shared between the
/// GUI thread, which changes them, and the reading thread, which converts
/// reports with them. Every change and every conversion holds the lock, so a
/// report is converted wholly with the old or wholly with the new settings.
class CalibrationState {
public:
    /// rawScale multiplies raw values before the fit and the transform.
    /// Starts out with raw mode off and the identity.
    explicit CalibrationState(float rawScale);
    CalibrationState(const CalibrationState&) = delete;
    CalibrationState& operator=(const CalibrationState&) = delete;

    void setRaw(bool raw);
    bool isRaw() const;

    TouchCalibration getCalibration() const;
    void setCalibration(const TouchCalibration& calibration);
    /// Fits to the points and installs the result; raw mode is unchanged.
    void fit(const std::vector<TouchScreen::CalibrationPoint>& points);
    /// Installs the file's calibration; false leaves the state unchanged.
    bool load(const std::string& path);
    /// true, or throws CalibrationNotSaved: the drivers' setCalibration does
    /// not return this result, and the exception carries it to the
    /// calibration screen, which must not then mark the device calibrated.
    bool save(const std::string& path) const;
    /// The identity in raw mode: what a device without a stored calibration
    /// reports until the calibration screen installs one. Such a device is
    /// not calibrated whatever the marker says (its file is missing or was
    /// refused), so the marker is withdrawn and the calibration page shown.
    void reset();

    /// The event for one report on a screen of width x height mounted turned
    /// by rotation: the raw position in raw mode, else the calibrated one
    /// clamped to the screen. Without a calibration installed (fitted or
    /// loaded) the identity gives the panel's own pixels, which are turned
    /// into the screen's.
    TouchScreen::Event convert(bool pressed, int32_t rawX, int32_t rawY, int width, int height,
                               int rotation) const;

private:
    const float m_rawScale;
    mutable Mutex m_mutex;
    bool m_raw = false;
    bool m_installed = false;
    TouchCalibration m_calibration;
};

} // namespace OKU

#endif
