#include "MyCalibrationScreen.h"

#include "gui/RootWidget.h"

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
