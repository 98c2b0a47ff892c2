#include "MyCalibrationScreen.h"

#include "gui/tree/RootWidget.h"

#include "LifeboatScreen.h"

MyCalibrationScreen::MyCalibrationScreen(OKU::RootWidget* root, const std::wstring& message)
    : CalibrationScreen(root), m_message(message)
{
}

void MyCalibrationScreen::okClicked()
{
    CalibrationScreen::okClicked();
    new LifeboatScreen(getRoot(), m_message);
}

bool MyCalibrationScreen::onKey(OKU::KeyCode key, wchar_t c)
{
    if (key == OKU::KEY_CANCEL && !isMarkedDestroyed())
        skipCalibration();
    return CalibrationScreen::onKey(key, c);
}

// While the screen still grabs the mouse, the touches are being collected in
// raw mode and nothing has been installed; once the ninth release has
// installed the calibration, skipping only leaves the device unmarked.
void MyCalibrationScreen::skipCalibration()
{
    OKU::RootWidget* root = getRoot();
    if (root->getMouseGrabber() == this) {
        root->getTouchScreen()->endRawCoordinates();
        ungrabMouse();
    }
    destroy();
    new LifeboatScreen(root, m_message);
}
