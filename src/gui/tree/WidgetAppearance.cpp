#include "gui/tree/Widget.h"

#include "gui/tree/RootWidget.h"
#include "gui/tree/detail/WidgetTrace.h"

namespace OKU {

namespace {

// Transparent colours all look alike, whatever their red, green and blue.
bool sameLook(const Color& a, const Color& b)
{
    return (a.alpha == 0 && b.alpha == 0) || a == b;
}

} // namespace

void Widget::show(bool on)
{
    if (on == m_visible)
        return;
    if (on) {
        traceWidget(*this, "show(%s[%p])");
        m_visible = true;
        invalidate();
    } else {
        traceWidget(*this, "hide(%s[%p])");
        invalidate();
        m_visible = false;
    }
}

void Widget::setEnabledBgColor(const Color& c)
{
    if (sameLook(m_bgColors[1], c))
        return;
    m_bgColors[1] = c;
    invalidate();
}

void Widget::setDisabledBgColor(const Color& c)
{
    if (sameLook(m_bgColors[0], c))
        return;
    m_bgColors[0] = c;
    invalidate();
}

Color Widget::getBgColor() const
{
    return m_bgColors[isEnabled() ? 1 : 0];
}

Rect Widget::getRedrawRect() const
{
    if (m_width < 1 || m_height < 1)
        return Rect(0, 0, m_width, m_height);
    const Margins& m = m_redrawMargins;
    Rect r(-m.left, -m.top, m_width + m.left + m.right, m_height + m.top + m.bottom);
    // A foreground or modal widget darkens everything behind it, so its
    // appearance or disappearance repaints the whole parent.
    if (m_parent && isForeground())
        r.include(Rect(-getTrueX0(), -m_y, m_parent->m_width, m_parent->m_height));
    for (const Widget* c : m_children) {
        if (c->m_visible && !c->m_destroyed) {
            Rect cr = c->getRedrawRect();
            cr.x += c->getTrueX0();
            cr.y += c->m_y;
            r.include(cr);
        }
    }
    return r;
}

void Widget::invalidate(const Rect& r)
{
    if (!isVisible())
        return;
    RootWidget* root = getRoot();
    if (!root)
        return;
    traceWidget(*this, "invalidate(%s[%p])(%d, %d, %d, %d)", r.x, r.y, r.width, r.height);
    const Point abs = getPositionAbs();
    root->invalidate(Rect(abs.x + r.x, abs.y + r.y, r.width, r.height));
}

void Widget::invalidate()
{
    invalidate(getRedrawRect());
}

} // namespace OKU
