#ifndef LIFEBOAT_SIM_PANELROTATION_H
#define LIFEBOAT_SIM_PANELROTATION_H

namespace sim {

struct PanelPosition {
    int x;
    int y;
};

// How the device's display panel is mounted: the program turns its picture
// clockwise by 0, 90, 180 or 270 degrees on its way to the panel
// (OKU_ROTATION), so that the person in front of the device sees the page
// upright. Positions the person sees (logical, the program's) are mapped to
// the panel's own pixels, where the framebuffer and the touch controller
// work.
class PanelRotation {
public:
    // The panel's size in its own pixels; degrees one of 0, 90, 180, 270.
    PanelRotation(int panelWidth, int panelHeight, int degrees);

    int degrees() const { return m_degrees; }
    // The size the person sees: the panel's, turned by a quarter at 90 and 270.
    int width() const;
    int height() const;
    PanelPosition toPanel(int x, int y) const;

private:
    int m_panelWidth;
    int m_panelHeight;
    int m_degrees;
};

} // namespace sim

#endif
