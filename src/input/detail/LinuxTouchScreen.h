#ifndef OKU_INPUT_DETAIL_LINUXTOUCHSCREEN_H
#define OKU_INPUT_DETAIL_LINUXTOUCHSCREEN_H

#include <string>
#include <vector>

#include "input/detail/TouchCalibration.h"
#include "input/TouchScreen.h"
#include "input/detail/EvdevTouchDecoder.h"

namespace OKU {

/// Touch screen behind a Linux input event device: a single-touch panel
/// (BTN_TOUCH with ABS_X and ABS_Y), a type B multitouch panel (followed
/// through its first contact, EvdevTouchDecoder) or an absolute pointer
/// (BTN_LEFT with ABS_X and ABS_Y: tablets, QEMU's virtio tablet). Calibrated
/// in software (raw values scaled by 1/1024). A device that is missing, is no
/// touch panel or fails to read is thrown as std::runtime_error, as the
/// serial drivers do, so that a device without a working panel can go on.
class LinuxTouchScreen : public TouchScreen {
public:
    LinuxTouchScreen(const std::string& device, int width, int height);
    ~LinuxTouchScreen() override;

    /// Opens the device read-only, checks it supports EV_SYN and EV_ABS with
    /// either ABS_X and ABS_Y or the multitouch position and tracking axes,
    /// discards input queued before now and loads the calibration from
    /// $OKU_TS_CALIB_DATA_FILE (default "/var/lib/oku-linux-tscal"). Without
    /// one it starts in raw mode; once that ends, positions are scaled from
    /// the axis ranges the device gives (EVIOCGABS) to the panel's pixels and
    /// turned with it, or, from a device that gives none, taken as pixels.
    /// The rotation must be set before.
    void init() override;
    Event getEvent() override;
    bool reportWaiting() override;
    void startRawCoordinates() override;
    void endRawCoordinates() override;
    /// Fits, installs and saves the calibration; width and height are unused.
    void setCalibration(const std::vector<CalibrationPoint>& points, int width,
                        int height) override;

    bool loadCalibration(const std::string& path);
    bool saveCalibration(const std::string& path) const;

private:
    std::string m_device;
    int m_fd = -1;
    CalibrationState m_calibration;
    EvdevTouchDecoder m_decoder;
};

} // namespace OKU

#endif
