#ifndef OKU_INPUT_CALIBRATIONSCREEN_H
#define OKU_INPUT_CALIBRATIONSCREEN_H

#include <memory>
#include <vector>

#include "gui/Screen.h"
#include "input/TouchScreen.h"

namespace OKU {

class Pixmap;
class RootWidget;
class StaticPixmap;
class StaticText;

// The full-screen page that calibrates the installed touch screen: the user
// touches a green cross at nine places of a 3 x 3 grid in turn (row by row,
// right to left in a right-to-left language). The screen grabs the mouse and
// puts the driver into raw mode, so every press delivers a raw controller
// position. After the ninth release the driver gets the nine pairs of screen
// and raw positions and leaves raw mode; an OK button then confirms.
//
// The root widget must have a touch screen installed.
class CalibrationScreen : public Screen {
public:
    static const int c_pointCount = 9;
    // A pause after every touch, so that a bouncing finger cannot take two
    // targets with one touch.
    static const int c_pauseMs = 500;

    explicit CalibrationScreen(RootWidget* root);

    void onMouseDown(int x, int y) override;
    void onMouseUp(int x, int y) override;
    void onTimeout(int id) override;
    // Marks the device calibrated and removes the screen.
    virtual void okClicked();

private:
    // The grid point shown for the index'th touch.
    int shownPoint(int index) const;
    void showCross();

    std::shared_ptr<const Pixmap> m_crossPixmap;
    StaticText* m_text;
    StaticPixmap* m_cross;
    std::vector<TouchScreen::CalibrationPoint> m_points;
    int m_index = 0;
    int m_timer = -1;
};

} // namespace OKU

#endif
