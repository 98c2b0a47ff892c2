#include "gui/widgets/ToggleButtonBase.h"

namespace OKU {

ToggleButtonBase::ToggleButtonBase(Widget* parent, bool checked, bool sticky)
    : Widget(parent), m_checked(checked), m_sticky(sticky)
{
}

bool ToggleButtonBase::isChecked() const
{
    return m_checked;
}

void ToggleButtonBase::setChecked(bool checked, bool notify)
{
    if (checked == m_checked)
        return;
    m_down = false;
    m_checked = checked;
    invalidate();
    if (notify)
        signalToggled.emit();
}

bool ToggleButtonBase::toggleAllowed()
{
    return true;
}

void ToggleButtonBase::onMouseDown(int, int)
{
    if (!ignoresFinger())
        setDown(true);
}

void ToggleButtonBase::onMouseMove(int x, int y)
{
    if (!ignoresFinger())
        setDown(Rect(Point(), getSize()).contains(Point(x, y)));
}

void ToggleButtonBase::onMouseUp(int x, int y)
{
    if (ignoresFinger())
        return;
    m_down = false;
    invalidate();
    if (Rect(Point(), getSize()).contains(Point(x, y)) && toggleAllowed()) {
        m_checked = !m_checked;
        signalToggled.emit();
    }
}

std::vector<Rect> ToggleButtonBase::getFocusAreas() const
{
    return {Rect(0, 0, m_width, m_height)};
}

void ToggleButtonBase::setDown(bool down)
{
    if (down == m_down)
        return;
    m_down = down;
    invalidate();
}

} // namespace OKU
