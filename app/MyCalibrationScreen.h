#ifndef LIFEBOAT_MYCALIBRATIONSCREEN_H
#define LIFEBOAT_MYCALIBRATIONSCREEN_H

#include <string>

#include "gui/windows/CalibrationScreen.h"

// The calibration page of a device that was never calibrated; once the
// operator accepts the calibration, the emergency page takes its place. The
// cancelling key (Escape) skips the calibration, for an operator whose panel
// does not work: the emergency page follows at once, the touches so far are
// dropped and the device stays uncalibrated, so the next start asks again.
class MyCalibrationScreen : public OKU::CalibrationScreen {
public:
    // The message is the one the emergency page will show.
    MyCalibrationScreen(OKU::RootWidget* root, const std::wstring& message);

    void okClicked() override;
    bool onKey(OKU::KeyCode key, wchar_t c) override;

private:
    void skipCalibration();

    std::wstring m_message;
};

#endif
