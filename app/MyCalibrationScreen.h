#ifndef LIFEBOAT_MYCALIBRATIONSCREEN_H
#define LIFEBOAT_MYCALIBRATIONSCREEN_H

#include <string>

#include "input/CalibrationScreen.h"

// The calibration page of a device that was never calibrated; once the
// operator accepts the calibration, the emergency page takes its place.
class MyCalibrationScreen : public OKU::CalibrationScreen {
public:
    // The message is the one the emergency page will show.
    MyCalibrationScreen(OKU::RootWidget* root, const std::wstring& message);

    void okClicked() override;

private:
    std::wstring m_message;
};

#endif
