#ifndef OKU_GUI_WINDOWS_CALIBRATIONSCREEN_H
#define OKU_GUI_WINDOWS_CALIBRATIONSCREEN_H

#include <cstdint>
#include <memory>
#include <vector>

#include "core/Visibility.h"
#include "gui/windows/Screen.h"
#include "input/TouchScreen.h"

namespace OKU {

class Pixmap;
class RootWidget;
class StaticPixmap;
class StaticText;

/// The full-screen page that calibrates the installed touch screen: the user
/// touches a green cross at nine places of a 3 x 3 grid in turn (row by row,
/// right to left in a right-to-left language). The screen grabs the mouse and
/// puts the driver into raw mode, so every report delivers a raw controller
/// position. A target's position is the median, per axis, of the reports while
/// the finger is down, so that a shaky finger or a stray report at the start
/// or end of a touch does not spoil the fit; it is taken when the finger
/// lifts. Touches that no calibration can match (all at one place, say)
/// are thrown away and the nine points asked for again. After the ninth
/// release the driver gets the nine pairs of screen and raw positions and
/// leaves raw mode; an OK button then confirms. A calibration the driver could
/// not store is used until the device is switched off: the user is told, and
/// OK leaves the device uncalibrated, so that the next start asks again.
///
/// The root widget must have a touch screen installed.
class CalibrationScreen : public Screen {
public:
    static const int c_pointCount = 9;
    /// A pause after every touch, so that a bouncing finger cannot take two
    /// targets with one touch.
    static const int c_pauseMs = 500;

    explicit CalibrationScreen(RootWidget* root);

    void onMouseDown(int x, int y) override;
    void onMouseMove(int x, int y) override;
    void onMouseUp(int x, int y) override;
    void onTimeout(int id) override;
    /// Marks the device calibrated (when the calibration was stored) and
    /// removes the screen.
    virtual void okClicked();

private:
    /// The grid point shown for the index'th touch.
    OKU_LOCAL int shownPoint(int index) const;
    OKU_LOCAL void showCross();
    /// Records the median of the touch's reports for the shown cross and
    /// moves on to the next one, or to the end.
    OKU_LOCAL void takePoint();
    /// Whether a calibration from the touches lands every touch within 2 % of
    /// the screen's diagonal of its cross.
    OKU_LOCAL bool touchesMatchCrosses() const;
    OKU_LOCAL void installCalibration();

    std::shared_ptr<const Pixmap> m_crossPixmap;
    StaticText* m_text;
    StaticPixmap* m_cross;
    std::vector<TouchScreen::CalibrationPoint> m_points;
    int m_index = 0;
    int m_timer = -1;
    bool m_saved = true;
    bool m_touching = false; ///< a touch on a shown cross is being sampled
    std::vector<int32_t> m_samplesX;
    std::vector<int32_t> m_samplesY;
};

} // namespace OKU

#endif
