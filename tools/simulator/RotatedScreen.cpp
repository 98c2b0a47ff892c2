#include "RotatedScreen.h"

namespace sim {

RotatedScreen::RotatedScreen(const Screen& panel, int degrees)
    : m_panel(panel), m_rotation(panel.width(), panel.height(), degrees)
{
}

std::vector<uint32_t> RotatedScreen::snapshot() const
{
    const std::vector<uint32_t> panel = m_panel.snapshot();
    if (m_rotation.degrees() == 0)
        return panel;
    std::vector<uint32_t> words(panel.size());
    for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x) {
            const PanelPosition p = m_rotation.toPanel(x, y);
            words[static_cast<size_t>(y) * width() + x] =
                panel[static_cast<size_t>(p.y) * m_panel.width() + p.x];
        }
    return words;
}

uint32_t RotatedScreen::pixel(int x, int y) const
{
    const PanelPosition p = m_rotation.toPanel(x, y);
    return m_panel.pixel(p.x, p.y);
}

} // namespace sim
