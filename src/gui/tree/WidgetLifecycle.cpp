#include "gui/tree/Widget.h"

#include <iterator>

#include "core/FatalError.h"
#include "gui/tree/RootWidget.h"
#include "gui/tree/detail/WidgetTrace.h"

namespace OKU {

void Widget::onCreationCaller()
{
    if (m_destroyed)
        return;
    // A creation handler that builds further widgets raises the flag again,
    // so they are created in the same pass.
    while (m_descendantCreated) {
        m_descendantCreated = false;
        for (Widget* c : m_children)
            c->onCreationCaller();
    }
    if (!m_created) {
        m_created = true;
        onCreation();
        invalidate();
    }
}

void Widget::unprotect()
{
    if (m_protectCount < 0)
        fatalError("Widget::unprotect()");
    --m_protectCount;
}

void Widget::destroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    if (m_parent)
        m_parent->notifyDescendantDestroyed();
    invalidate();
}

bool Widget::grimReaper()
{
    if (!m_descendantDestroyed)
        return true;
    bool done = true;
    for (auto it = m_children.begin(); it != m_children.end();) {
        const auto next = std::next(it);
        Widget* c = *it;
        if (c->m_destroyed) {
            if (c->m_protectCount != 0 || !deleteChild(it))
                done = false;
        } else if (c->m_descendantDestroyed && !c->grimReaper()) {
            done = false;
        }
        it = next;
    }
    if (done)
        m_descendantDestroyed = false;
    return done;
}

bool Widget::deleteChild(Children::iterator it)
{
    Widget* c = *it;
    if (c->m_protectCount != 0)
        return false;
    for (auto cit = c->m_children.begin(); cit != c->m_children.end();) {
        const auto next = std::next(cit);
        c->deleteChild(cit);
        cit = next;
    }
    if (!c->m_children.empty())
        return false;
    if (RootWidget* root = getRoot())
        root->notifyDelete(c);
    unlinkChild(c);
    traceWidget(*c, "delete %s[%p]");
    delete c;
    return true;
}

bool Widget::deleteChildren()
{
    for (auto it = m_children.begin(); it != m_children.end();) {
        const auto next = std::next(it);
        deleteChild(it);
        it = next;
    }
    return m_children.empty();
}

bool Widget::nuke()
{
    Widget* parent = m_parent;
    destroy();
    return parent->grimReaper();
}

void Widget::armageddon()
{
    m_protectCount = 0;
    for (auto it = m_children.begin(); it != m_children.end();) {
        Widget* c = *it;
        ++it;
        c->armageddon();
    }
    delete this;
}

void Widget::modal()
{
    m_modal = true;
    protect();
    if (!isDestroyed()) {
        // The veil behind a modal widget covers its whole parent.
        m_parent->invalidate();
        getRoot()->modal(this);
        m_parent->invalidate();
    }
    m_modal = false;
    unprotect();
}

} // namespace OKU
