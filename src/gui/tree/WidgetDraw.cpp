#include "gui/tree/Widget.h"

#include <iterator>

#include "graphics/Painter.h"
#include "gui/theme/Theme.h"
#include "gui/tree/detail/WidgetTrace.h"

namespace OKU {

namespace {

// The veil painted over everything behind a foreground or modal child.
const Color c_veilColor(0, 0, 0, 160);

// The widget's own draw, with a painter state it cannot spoil for the children.
// The focus ring goes on top of it; focus areas lie where no child draws.
void drawOwn(Widget& w, Painter& p)
{
    traceWidget(w, "draw(%s[%p])");
    const Painter::StateSaver saver(p);
    w.draw(p);
    const int ring = w.getFocusRing();
    if (ring < 0)
        return;
    const std::vector<Rect> areas = w.getFocusAreas();
    if (ring < static_cast<int>(areas.size()))
        Theme::g()->drawFocusRing(p, areas[ring]);
}

} // namespace

void Widget::draw(Painter& p)
{
    p.drawSolidRect(0, 0, m_width, m_height, getBgColor());
}

bool Widget::isSolid(const Rect& r) const
{
    return getBgColor().alpha == 255 && Rect(0, 0, m_width, m_height).contains(r);
}

void Widget::drawTree(Painter& p)
{
    if (!m_visible || m_destroyed || m_width < 1 || m_height < 1)
        return;
    const Painter::StateSaver saver(p);
    p.translate(getTrueX0(), m_y);
    p.setClipRect(p.getClipRect().intersection(getRedrawRect()));
    if (p.getClipRectAbs().isEmpty())
        return;

    // Whatever lies below the topmost child that covers the clip opaquely
    // would be painted over anyway.
    const Rect clip = p.getClipRect();
    auto start = m_children.end();
    for (auto it = m_children.end(); it != m_children.begin();) {
        --it;
        const Widget* c = *it;
        if (!c->m_visible || c->m_destroyed)
            continue;
        if (c->isSolid(Rect(clip.x - c->getTrueX0(), clip.y - c->m_y, clip.width, clip.height))) {
            start = it;
            break;
        }
    }
    if (start == m_children.end()) {
        drawOwn(*this, p);
        start = m_children.begin();
    }
    drawChildren(p, start);
}

void Widget::drawChildren(Painter& p, Children::iterator first)
{
    // Only screens and the root dim what lies behind their foreground child.
    auto dimmed = m_children.end();
    if (m_topLevel || !m_parent) {
        for (auto it = first; it != m_children.end(); ++it) {
            const Widget* c = *it;
            if (c->m_visible && !c->m_destroyed && c->isForeground())
                dimmed = it;
        }
    }
    for (auto it = first; it != m_children.end(); ++it) {
        if (it == dimmed)
            p.drawSolidRect(0, 0, m_width, m_height, c_veilColor);
        (*it)->drawTree(p);
    }
}

bool Widget::drawTreeIfSolid(Painter& p)
{
    if (!m_visible || m_destroyed || m_width < 1 || m_height < 1)
        return false;
    const Painter::StateSaver saver(p);
    p.translate(getTrueX0(), m_y);
    const Rect clip = p.getClipRect();
    const Rect r = getRedrawRect();
    if (!clip.intersects(r) || !clip.contains(r))
        return false;

    for (auto it = m_children.end(); it != m_children.begin();) {
        --it;
        if ((*it)->drawTreeIfSolid(p)) {
            drawChildren(p, std::next(it));
            return true;
        }
    }
    if (!isSolid(clip))
        return false;
    drawOwn(*this, p);
    drawChildren(p, m_children.begin());
    return true;
}

void Widget::drawShadowFrame(Painter& p, int x, int y, int w, int h, const Color& frame,
                             const Color& shadow)
{
    const int x2 = x + w;
    const int y2 = y + h;
    // The frame leaves its corners out; they get shadow, which blends softer.
    p.drawLine(x + 1, y, x2 - 2, y, frame);
    p.drawLine(x + 1, y2 - 1, x2 - 2, y2 - 1, frame);
    p.drawLine(x, y + 1, x, y2 - 2, frame);
    p.drawLine(x2 - 1, y + 1, x2 - 1, y2 - 2, frame);
    p.drawPixel(x, y, shadow);
    p.drawPixel(x, y2 - 1, shadow);
    p.drawPixel(x2 - 1, y, shadow);
    p.drawPixel(x2 - 1, y2 - 1, shadow);
    p.drawLine(x + 2, y2, x2 - 1, y2, shadow);
    p.drawLine(x2, y + 2, x2, y2 - 1, shadow);
    // Blended twice, the lower right corner reads as the darkest point.
    p.drawPixel(x2 - 1, y2 - 1, shadow);
}

} // namespace OKU
