#include "gui/tree/RootWidget.h"

#include <algorithm>
#include <utility>

#include "core/Condition.h"
#include "core/Trace.h"

namespace OKU {

namespace {

const char* const c_traceCategory = "OKU::RootWidget";

bool traceEnabled(TraceLevel level)
{
    return level <= g_traceGlobalLimit && traceTest__internal(c_traceCategory, level);
}

int32_t area(const Rect& r)
{
    return r.width * r.height;
}

double millisecondsBetween(const TimeSpec& start, const TimeSpec& end)
{
    return (end.seconds - start.seconds) * 1e3 + (end.nanoseconds - start.nanoseconds) / 1e6;
}

} // namespace

void RootWidget::invalidate()
{
    invalidate(Rect(0, 0, m_width, m_height));
}

void RootWidget::invalidate(const Rect& r)
{
    Rect added = r.intersection(Rect(0, 0, m_width, m_height));
    if (added.isEmpty())
        return;
    for (const Rect& dirty : m_dirtyRects) {
        if (dirty.contains(added))
            return;
    }
    m_dirtyRects.erase(std::remove_if(m_dirtyRects.begin(), m_dirtyRects.end(),
                                      [&added](const Rect& dirty) { return added.contains(dirty); }),
                       m_dirtyRects.end());
    // Two rectangles become one when their bounding box costs no more than
    // drawing both; every merge can enable others, so the walk restarts.
    std::vector<Rect>::iterator it = m_dirtyRects.begin();
    while (it != m_dirtyRects.end()) {
        const Rect merged = it->getUnion(added);
        if (area(*it) + area(added) < area(merged)) {
            ++it;
            continue;
        }
        added = merged;
        m_dirtyRects.erase(it);
        it = m_dirtyRects.begin();
    }
    m_dirtyRects.push_back(added);
}

void RootWidget::onResized()
{
    // Areas dirtied at the old size must not reach past the new screen.
    const Rect screen(0, 0, m_width, m_height);
    for (Rect& dirty : m_dirtyRects)
        dirty = dirty.intersection(screen);
    m_dirtyRects.erase(std::remove_if(m_dirtyRects.begin(), m_dirtyRects.end(),
                                      [](const Rect& r) { return r.isEmpty(); }),
                       m_dirtyRects.end());
    MutexLocker lock(m_pixmapMutex);
    m_pixmap.resize(m_width, m_height, false);
}

void RootWidget::preBlockHandling(bool immediate)
{
    while (hasDescendantCreated()) {
        notePageCreation();
        onCreationCaller();
    }
    grimReaper();
    emitChildEvents();
    m_keyboardFocus.update();
    redraw(immediate);
}

void RootWidget::notePageCreation()
{
    for (const Widget* child : m_children) {
        if (!child->isCreated() && !child->isMarkedDestroyed())
            m_pageChanged = true;
    }
}

void RootWidget::emitChildEvents()
{
    // Indexing copes with handlers that register further widgets (handled
    // in this pass) or delete registered ones (notifyDelete leaves a null in
    // their place, so that no entry moves under the index).
    for (size_t i = 0; i < m_childEventWidgets.size(); ++i) {
        Widget* w = m_childEventWidgets[i];
        if (w != nullptr && !w->isMarkedDestroyed())
            w->m_childrenChanged.emit();
    }
    m_childEventWidgets.clear();
}

void RootWidget::redraw(bool immediate)
{
    // Taken out first, so that areas invalidated while drawing or by the
    // screen and the subscribers are kept for the next pass.
    std::vector<Rect> rects;
    rects.swap(m_dirtyRects);
    drawBackBuffer(rects);
    // Dated when the frame is shown, not when it was drawn: a press that
    // came in between was made before anything of the page showed.
    const TimeSpec showingFrom = monotonicNow();
    if (!rects.empty())
        m_output->showFrame(m_pixmap, rects, immediate);
    if (m_pageChanged) {
        m_pageChanged = false;
        m_pageShowingFrom = showingFrom;
        m_pageShownAt = monotonicNow();
    }
    if (rects.empty())
        return;
    MutexLocker lock(m_subscriberMutex);
    for (DirtyRectSubscriber* s : m_subscribers)
        s->onDirtyRects(rects);
}

void RootWidget::drawBackBuffer(const std::vector<Rect>& rects)
{
    MutexLocker lock(m_pixmapMutex);
    const bool timing = traceEnabled(TRACE_FUNCTION);
    for (const Rect& r : rects) {
        m_pixmap.setOffset(0, 0);
        m_pixmap.setClipRectAbs(r);
        traceMessage(c_traceCategory, TRACE_SILLY, "redraw(%d, %d, %d, %d)", r.x, r.y, r.width,
                     r.height);
        const TimeSpec start = timing ? monotonicNow() : TimeSpec();
        if (!drawTreeIfSolid(m_pixmap))
            drawTree(m_pixmap);
        if (timing)
            traceMessage(c_traceCategory, TRACE_FUNCTION, "redraw(%d, %d, %d, %d): dt = %.3f ms",
                         r.x, r.y, r.width, r.height, millisecondsBetween(start, monotonicNow()));
    }
}

void RootWidget::subscribeDirtyRects(DirtyRectSubscriber* s)
{
    MutexLocker lock(m_subscriberMutex);
    m_subscribers.push_back(s);
}

void RootWidget::unsubscribeDirtyRects(DirtyRectSubscriber* s)
{
    MutexLocker lock(m_subscriberMutex);
    const std::vector<DirtyRectSubscriber*>::iterator it =
        std::find(m_subscribers.begin(), m_subscribers.end(), s);
    if (it != m_subscribers.end())
        m_subscribers.erase(it);
}

Pixmap RootWidget::getPixmapCopy() const
{
    Pixmap copy;
    {
        MutexLocker lock(m_pixmapMutex);
        copy = m_pixmap;
    }
    copy.setOffset(0, 0);
    copy.unsetClipRect();
    return copy;
}

} // namespace OKU

