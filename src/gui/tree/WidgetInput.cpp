#include "gui/tree/Widget.h"

#include <algorithm>
#include <stdexcept>

#include "gui/tree/RootWidget.h"

namespace OKU {

Widget* Widget::findWidget(int x, int y, bool& found)
{
    if (m_destroyed || !m_visible)
        return nullptr;
    // A foreground or modal widget catches presses anywhere on the screen.
    const bool inside = x >= 0 && x < m_width && y >= 0 && y < m_height;
    if (!inside && !isForeground())
        return nullptr;
    // A disabled widget swallows the press: the search ends without a target.
    if (!m_enabled) {
        found = true;
        return nullptr;
    }
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it) {
        Widget* c = *it;
        Widget* target = c->findWidget(x - c->getTrueX0(), y - c->m_y, found);
        if (found)
            return target;
    }
    if (!m_interactive)
        return nullptr;
    found = true;
    return this;
}

Widget* Widget::findWidget(int x, int y)
{
    bool found = false;
    return findWidget(x, y, found);
}

bool Widget::deliverKey(KeyCode key, wchar_t c)
{
    if (m_destroyed || !m_visible || !m_enabled)
        return false;
    if (onKeyIntercept(key, c))
        return true;
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it) {
        if ((*it)->deliverKey(key, c))
            return true;
    }
    return m_interactive && onKey(key, c);
}

std::vector<Rect> Widget::getFocusAreas() const
{
    return {};
}

void Widget::setFocusRing(int area)
{
    if (area == m_focusRing)
        return;
    const std::vector<Rect> areas = getFocusAreas();
    for (const int changed : {m_focusRing, area}) {
        if (changed >= 0 && changed < static_cast<int>(areas.size()))
            invalidate(areas[changed]);
    }
    m_focusRing = area;
}

void Widget::setInitialFocus(Widget* w)
{
    if (RootWidget* root = getRoot())
        root->getKeyboardFocus().setInitialFocus(this, w);
}

void Widget::grabMouse()
{
    getRoot()->setMouseGrabber(this);
}

void Widget::ungrabMouse()
{
    getRoot()->eraseMouseGrabber(this);
}

int Widget::addTimeout(int ms)
{
    const int id = getRoot()->addWidgetTimeout(this, ms);
    m_timeouts.push_back(id);
    return id;
}

void Widget::killTimeout(int id)
{
    // Without a root (the root itself being torn down) the timers went with it.
    if (RootWidget* root = getRoot())
        root->killWidgetTimeout(id);
    const auto it = std::find(m_timeouts.begin(), m_timeouts.end(), id);
    if (it == m_timeouts.end())
        throw std::runtime_error("Tried to remove non-existing timer!");
    m_timeouts.erase(it);
}

void Widget::killAllTimeouts()
{
    while (!m_timeouts.empty())
        killTimeout(m_timeouts.front());
}

} // namespace OKU
