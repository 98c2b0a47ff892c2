#include "gui/theme/KeyboardFocus.h"

#include <algorithm>
#include <vector>

#include "gui/theme/detail/FocusOrder.h"
#include "gui/tree/ProtectGuard.h"
#include "gui/tree/Widget.h"

namespace OKU {

namespace {

bool movesFocus(KeyCode key)
{
    switch (key) {
    case KEY_FOCUS_NEXT:
    case KEY_FOCUS_PREVIOUS:
    case KEY_ARROW_LEFT:
    case KEY_ARROW_RIGHT:
    case KEY_ARROW_UP:
    case KEY_ARROW_DOWN:
        return true;
    default:
        return false;
    }
}

} // namespace

bool KeyboardFocus::onKey(KeyCode key, bool aimed)
{
    if (key == KEY_ACTIVATE_UP) {
        release(true);
        return true;
    }
    if (key == KEY_ACTIVATE_DOWN) {
        // A press whose release never came (its keyboard was pulled out) is
        // let go without a click.
        release(false);
    } else if (!movesFocus(key)) {
        return false;
    }
    const bool wasShown = m_ringShown;
    const FocusTarget before = m_focus;
    showRing(true);
    validate();
    if (!wasShown || m_focus != before || m_focus.widget == nullptr)
        return true;
    if (key == KEY_ACTIVATE_DOWN) {
        if (aimed)
            press();
    } else {
        moveFocus(key);
    }
    return true;
}

void KeyboardFocus::onPress()
{
    showRing(false);
}

void KeyboardFocus::update()
{
    if (m_ringShown)
        validate();
}

void KeyboardFocus::forget(Widget* w)
{
    if (m_focus.widget == w)
        m_focus = FocusTarget();
    if (m_focusScope == w)
        m_focusScope = nullptr;
    if (m_pressed == w)
        m_pressed = nullptr;
    m_scopeFocus.erase(w);
    for (auto it = m_scopeFocus.begin(); it != m_scopeFocus.end();) {
        if (it->second.widget == w)
            it = m_scopeFocus.erase(it);
        else
            ++it;
    }
}

void KeyboardFocus::setInitialFocus(Widget* scope, Widget* w)
{
    m_scopeFocus[scope] = FocusTarget{w, 0};
}

void KeyboardFocus::validate()
{
    Widget* scope = focusScope(&m_root);
    if (scope == m_focusScope && canTakeFocus(m_focus, scope))
        return;
    FocusTarget next;
    const auto kept = m_scopeFocus.find(scope);
    if (kept != m_scopeFocus.end() && canTakeFocus(kept->second, scope)) {
        next = kept->second;
    } else {
        const std::vector<FocusPlace> places = focusPlaces(scope, scope->isLTR());
        if (!places.empty())
            next = places.front().target;
    }
    setFocus(next, scope);
}

void KeyboardFocus::setFocus(const FocusTarget& target, Widget* scope)
{
    if (m_focus.widget != nullptr && m_focus != target)
        m_focus.widget->setFocusRing(-1);
    m_focus = target;
    m_focusScope = scope;
    if (target.widget == nullptr)
        return;
    m_scopeFocus[scope] = target;
    if (m_ringShown)
        target.widget->setFocusRing(target.area);
}

void KeyboardFocus::showRing(bool on)
{
    m_ringShown = on;
    if (m_focus.widget != nullptr)
        m_focus.widget->setFocusRing(on ? m_focus.area : -1);
}

void KeyboardFocus::moveFocus(KeyCode key)
{
    const std::vector<FocusPlace> places = focusPlaces(m_focusScope, m_focusScope->isLTR());
    const auto here = std::find_if(places.begin(), places.end(),
                                   [this](const FocusPlace& p) { return p.target == m_focus; });
    if (here == places.end())
        return;
    const int count = static_cast<int>(places.size());
    const int from = static_cast<int>(here - places.begin());
    int to = from;
    if (key == KEY_FOCUS_NEXT)
        to = (from + 1) % count;
    else if (key == KEY_FOCUS_PREVIOUS)
        to = (from + count - 1) % count;
    else
        to = placeInDirection(places, from, key);
    if (to >= 0)
        setFocus(places[to].target, m_focusScope);
}

void KeyboardFocus::press()
{
    Widget* w = m_focus.widget;
    const Rect area = w->getFocusAreas()[m_focus.area];
    m_pressed = w;
    m_pressPoint = Point(area.x + area.width / 2, area.y + area.height / 2);
    const ProtectGuard guard(w);
    w->onMouseDown(m_pressPoint.x, m_pressPoint.y);
}

// Without a click the finger leaves from outside the widget.
void KeyboardFocus::release(bool click)
{
    Widget* w = m_pressed;
    m_pressed = nullptr;
    if (w == nullptr || w->isDestroyed())
        return;
    const Point point = click ? m_pressPoint : Point(-1, -1);
    const ProtectGuard guard(w);
    w->onMouseUp(point.x, point.y);
}

} // namespace OKU
