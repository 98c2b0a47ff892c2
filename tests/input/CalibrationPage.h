#ifndef OKU_TESTS_INPUT_CALIBRATIONPAGE_H
#define OKU_TESTS_INPUT_CALIBRATIONPAGE_H

// What the tests of the calibration page and of the program's own one
// share: a driver that records what the page tells it, and the crosses.

#include <string>
#include <vector>

#include "gui/TestRootWidget.h"
#include "gui/tree/Widget.h"
#include "input/DummyTouchScreen.h"
#include "input/detail/TouchCalibration.h"

// Logs the page's calls; refuses to store a calibration when told to, as a
// driver does on a full or read-only /var/lib, after installing it.
class RecordingTouchScreen : public OKU::DummyTouchScreen {
public:
    void startRawCoordinates() override { m_log.push_back("raw on"); }
    void endRawCoordinates() override { m_log.push_back("raw off"); }
    void setCalibration(const std::vector<CalibrationPoint>& points, int width, int height) override
    {
        m_points = points;
        m_log.push_back("calibrate " + std::to_string(width) + "x" + std::to_string(height));
        if (!m_storable)
            throw OKU::CalibrationNotSaved("/var/lib/oku-tscal.dat");
    }

    bool m_storable = true;
    Log m_log;
    std::vector<CalibrationPoint> m_points;
};

inline OKU::Point centre(const OKU::Widget* w)
{
    const OKU::Rect r = w->getRectAbs();
    return OKU::Point(r.x + r.width / 2, r.y + r.height / 2);
}

// Every widget of type T below w, in tree order.
template <class T>
std::vector<T*> findAll(OKU::Widget* w)
{
    std::vector<T*> found;
    for (OKU::Widget* child : w->getChildren()) {
        if (T* t = dynamic_cast<T*>(child))
            found.push_back(t);
        const std::vector<T*> below = findAll<T>(child);
        found.insert(found.end(), below.begin(), below.end());
    }
    return found;
}

// Where a controller whose axes are sheared and scaled reports a touch at p.
inline OKU::Point onTarget(const OKU::Point& p)
{
    return OKU::Point(5 * p.x + p.y + 200, -p.x + 6 * p.y + 1000);
}

#endif
