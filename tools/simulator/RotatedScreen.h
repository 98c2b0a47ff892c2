#ifndef LIFEBOAT_SIM_ROTATEDSCREEN_H
#define LIFEBOAT_SIM_ROTATEDSCREEN_H

#include "PanelRotation.h"
#include "Screen.h"

namespace sim {

// A display panel as the person in front of a device with a rotated panel
// sees it: every position and picture in the program's own coordinates.
class RotatedScreen : public Screen {
public:
    RotatedScreen(const Screen& panel, int degrees);

    int width() const override { return m_rotation.width(); }
    int height() const override { return m_rotation.height(); }
    std::vector<uint32_t> snapshot() const override;
    uint32_t pixel(int x, int y) const override;

private:
    const Screen& m_panel;
    PanelRotation m_rotation;
};

} // namespace sim

#endif
