#include "gui/widgets/ClickHelper.h"

#include "gui/tree/Widget.h"

namespace OKU {

void ClickHelper::onMouseDown()
{
    if (m_enabled)
        m_longClicked = false;
    maybeKillTimeout();
    if (!m_longClick.empty())
        m_timer = m_widget->addTimeout(m_longClickTime);
}

void ClickHelper::onMouseMove(bool inside)
{
    if (!inside)
        maybeKillTimeout();
}

void ClickHelper::onMouseMove(int x, int y)
{
    onMouseMove(contains(x, y));
}

void ClickHelper::onMouseUp(bool inside)
{
    maybeKillTimeout();
    if (inside && !m_longClicked && m_enabled)
        m_click.emit();
}

void ClickHelper::onMouseUp(int x, int y)
{
    onMouseUp(contains(x, y));
}

void ClickHelper::onTimeout(int id)
{
    if (id != m_timer)
        return;
    maybeKillTimeout();
    m_longClicked = true;
    if (m_enabled)
        m_longClick.emit();
}

void ClickHelper::maybeKillTimeout()
{
    if (m_timer < 0)
        return;
    m_widget->killTimeout(m_timer);
    m_timer = -1;
}

bool ClickHelper::contains(int x, int y) const
{
    return Rect(Point(), m_widget->getSize()).contains(Point(x, y));
}

} // namespace OKU
