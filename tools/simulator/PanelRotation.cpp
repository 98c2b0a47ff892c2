#include "PanelRotation.h"

#include "core/ScreenRotation.h"

namespace sim {

PanelRotation::PanelRotation(int panelWidth, int panelHeight, int degrees)
    : m_panelWidth(panelWidth), m_panelHeight(panelHeight), m_degrees(degrees)
{
}

int PanelRotation::width() const
{
    return OKU::rotatedSize(OKU::Size(m_panelWidth, m_panelHeight), m_degrees).width;
}

int PanelRotation::height() const
{
    return OKU::rotatedSize(OKU::Size(m_panelWidth, m_panelHeight), m_degrees).height;
}

PanelPosition PanelRotation::toPanel(int x, int y) const
{
    const OKU::Point panel = OKU::logicalToDevice(OKU::Point(x, y), m_degrees,
                                                  OKU::Size(m_panelWidth, m_panelHeight));
    return PanelPosition{panel.x, panel.y};
}

} // namespace sim
