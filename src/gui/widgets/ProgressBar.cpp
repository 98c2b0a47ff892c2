#include "gui/widgets/ProgressBar.h"

#include <algorithm>

#include "graphics/Painter.h"

namespace OKU {

const Color ProgressBar::s_defaultFrameColor(96, 96, 96, 255);
const Color ProgressBar::s_defaultTroughColor(255, 255, 255, 255);
const Color ProgressBar::s_defaultBarColor(35, 52, 85, 255);
const Color ProgressBar::s_defaultPulseColor(144, 144, 144, 255);
const int32_t ProgressBar::s_defaultHeight = 20;

namespace {

const int c_frame = 1;
// The moving block of an unknown amount is a fifth of the trough, and
// crosses it in this many pulses.
const int c_blockDivisor = 5;
const int c_pulsesPerCrossing = 16;

} // namespace

ProgressBar::ProgressBar(Widget* parent) : Widget(parent)
{
    m_interactive = false;
}

void ProgressBar::setProgress(unsigned long long done, unsigned long long total)
{
    if (done == m_done && total == m_total)
        return;
    m_done = done;
    m_total = total;
    invalidate();
}

void ProgressBar::pulse()
{
    m_pulse = (m_pulse + 1) % (2 * c_pulsesPerCrossing);
    if (m_total == 0)
        invalidate();
}

int ProgressBar::getFilledWidth() const
{
    if (m_total == 0)
        return -1;
    const int inner = std::max(m_width - 2 * c_frame, 0);
    unsigned long long done = std::min(m_done, m_total);
    unsigned long long total = m_total;
    // Scaled down so that done * inner cannot overflow, whatever the sizes.
    while (total >= (1ULL << 48)) {
        done >>= 1;
        total >>= 1;
    }
    // Whole pixels rounded down: the bar is full only when the work is.
    return static_cast<int>(done * static_cast<unsigned>(inner) / total);
}

int ProgressBar::blockOffset(int inner, int block) const
{
    const int travel = inner - block;
    const int step = m_pulse < c_pulsesPerCrossing ? m_pulse : 2 * c_pulsesPerCrossing - m_pulse;
    return travel * step / c_pulsesPerCrossing;
}

void ProgressBar::draw(Painter& p)
{
    Widget::draw(p);
    p.drawRect(0, 0, m_width, m_height, s_defaultFrameColor, s_defaultTroughColor);
    const int inner = m_width - 2 * c_frame;
    const int innerHeight = m_height - 2 * c_frame;
    if (inner < 1 || innerHeight < 1)
        return;
    int offset;
    int width;
    if (m_total == 0) {
        width = std::max(inner / c_blockDivisor, 1);
        offset = blockOffset(inner, width);
    } else {
        width = getFilledWidth();
        offset = 0;
    }
    if (!isLTR())
        offset = inner - offset - width;
    if (width > 0)
        p.drawSolidRect(c_frame + offset, c_frame, width, innerHeight,
                        m_total == 0 ? s_defaultPulseColor : m_barColor);
}

int ProgressBar::getAutoMinWidth() const
{
    return 2 * c_frame + c_blockDivisor;
}

int ProgressBar::getAutoMinHeight() const
{
    return s_defaultHeight;
}

} // namespace OKU
