#ifndef OKU_INPUT_LINUXTOUCHSCREEN_H
#define OKU_INPUT_LINUXTOUCHSCREEN_H

#include <linux/input.h>

#include <cstdint>
#include <string>
#include <vector>

#include "input/TouchCalibration.h"
#include "input/TouchScreen.h"

namespace OKU {

// Folds the records of a Linux input event device into touch reports.
// Record (struct input_event, 16 bytes on the 32-bit device, 24 on 64-bit
// hosts): time, u16 type, u16 code, s32 value.
//   EV_KEY BTN_TOUCH   pressed = value != 0
//   EV_ABS ABS_X/ABS_Y last raw x/y = value (other axes ignored)
//   EV_SYN (any code)  ends the report
// Other types are ignored.
class EvdevTouchDecoder {
public:
    // True when the record ends a report; the report is then the current
    // pressed state and last raw position.
    bool add(const input_event& record);

    bool isPressed() const { return m_pressed != 0; }
    int32_t getRawX() const { return m_lastRawX; }
    int32_t getRawY() const { return m_lastRawY; }

private:
    int32_t m_pressed = 0;
    int32_t m_lastRawX = 0;
    int32_t m_lastRawY = 0;
};

// Touch screen behind a Linux input event device reporting BTN_TOUCH and
// absolute X and Y, calibrated in software (raw values scaled by 1/1024).
// Configuration and read errors are fatal.
class LinuxTouchScreen : public TouchScreen {
public:
    LinuxTouchScreen(const std::string& device, int width, int height);
    ~LinuxTouchScreen() override;

    // Opens the device read-only, checks it supports EV_SYN, EV_ABS, ABS_X
    // and ABS_Y, discards input queued before now and loads the calibration
    // from $OKU_TS_CALIB_DATA_FILE (default "/var/lib/oku-linux-tscal"); without
    // one it reports raw positions.
    void init() override;
    Event getEvent() override;
    bool reportWaiting() override;
    void startRawCoordinates() override;
    void endRawCoordinates() override;
    // Fits, installs and saves the calibration; width and height are unused.
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
