#include "gui/tree/Widget.h"

#include <algorithm>

#include "gui/tree/RootWidget.h"

namespace OKU {

namespace {

// Listeners of a widget's children-changed signal hear of a change once per
// loop pass: the root collects the widget and emits the signal later.
void reportChildrenChanged(Widget& w)
{
    if (w.m_childrenChanged.empty())
        return;
    if (RootWidget* root = w.getRoot())
        root->registerChildEvent(&w);
}

} // namespace

void Widget::linkChild(Widget* child)
{
    // Ordinary children go below the first always-on-top child.
    const auto position =
        child->m_alwaysOnTop
            ? m_children.end()
            : std::find_if(m_children.begin(), m_children.end(),
                           [](const Widget* c) { return c->m_alwaysOnTop; });
    m_children.insert(position, child);
    reportChildrenChanged(*this);
}

void Widget::unlinkChild(Widget* child)
{
    m_children.remove(child);
    reportChildrenChanged(*this);
}

void Widget::setParent(Widget* newParent)
{
    if (newParent == m_parent)
        return;
    const Size oldParentSize = m_parent->getSize();
    invalidate();
    m_parent->unlinkChild(this);
    m_parent = newParent;
    m_parent->linkChild(this);
    invalidate();
    // The new ancestors must learn of pending creation and deletion work
    // below them, or the root's loop would never reach it.
    if (!m_created || m_descendantCreated)
        m_parent->notifyDescendantCreated();
    if (m_descendantDestroyed)
        m_parent->notifyDescendantDestroyed();
    onParentResizeCalled(oldParentSize);
}

void Widget::enableAlwaysOnTop(bool on)
{
    m_alwaysOnTop = on;
    if (on && m_parent) {
        m_parent->unlinkChild(this);
        m_parent->linkChild(this);
    }
}

Widget::Children Widget::getChildren() const
{
    Children children;
    for (Widget* c : m_children) {
        if (!c->m_destroyed)
            children.push_back(c);
    }
    return children;
}

bool Widget::isDescendant(const Widget* w) const
{
    if (m_destroyed)
        return false;
    for (const Widget* c : m_children) {
        if (!c->m_destroyed && (c == w || c->isDescendant(w)))
            return true;
    }
    return false;
}

} // namespace OKU
