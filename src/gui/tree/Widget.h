#ifndef OKU_GUI_TREE_WIDGET_H
#define OKU_GUI_TREE_WIDGET_H

#include <algorithm>
#include <list>
#include <sigc++/sigc++.h>
#include <string>
#include <vector>

#include "core/Geometry.h"
#include "core/NonCopyable.h"
#include "core/Visibility.h"
#include "graphics/Alignment.h"
#include "graphics/Color.h"
#include "input/KeyCode.h"

namespace OKU {

class LString;
class Painter;
class RootWidget;

/// Turn a Layout into a direction: the language's for LANGUAGE and AUTO (the
/// text's for AUTO in the text form), true for LTR and any negative value.
bool isLTR(Layout l);
bool isLTR(Layout l, const std::wstring& text);
/// The direction of the text as shown (LString::str()).
bool isLTR(Layout l, const LString& text);
/// LEFT and RIGHT swap places when the direction is right to left.
HAlign layoutAlign(Layout l, HAlign a);
HAlign layoutAlign(Layout l, HAlign a, const std::wstring& text);
HAlign layoutAlign(Layout l, HAlign a, const LString& text);

/// The base of every element on the screen. Widgets form a retained tree: each
/// owns its children, draws itself into the root widget's back buffer when
/// asked, and reports changes of appearance upward as dirty rectangles.
/// Deletion is deferred: destroy() marks a widget and the root widget's loop
/// deletes it between events unless it is protected. All of it runs on the GUI
/// thread.
///
/// A widget's x is stored as if its parent were laid out left to right; in a
/// right-to-left parent its true x is parent width - (x + width).
class Widget : private NonCopyable, public sigc::trackable {
public:
    typedef std::list<Widget*> Children;

    static const Color s_defaultFrameColor;
    static const Color s_defaultDisabledFrameColor;
    static const Color s_defaultShadowColor;

    explicit Widget(Widget* parent) : Widget(parent, 0, 0, 0, 0) {}
    Widget(Widget* parent, int x, int y, int w, int h);
    virtual ~Widget();

    virtual void destroy();
    virtual RootWidget* getRoot();
    virtual const RootWidget* getRoot() const;
    virtual void setLayout(Layout l);
    virtual Layout getLayout() const;
    /// A rectangle in widget coordinates becomes dirty at the root.
    virtual void invalidate(const Rect& r);
    virtual void invalidate();
    virtual void move(int x, int y);
    virtual void center();
    virtual void center(const Rect& r);
    virtual void setWidth(int w);
    virtual void setHeight(int h);
    virtual void resize(int w, int h);
    virtual void setGeometry(int x, int y, int w, int h);
    virtual void onCreation();
    virtual void onResizeCalled(const Size& oldSize);
    virtual void onResized();
    virtual void onParentResizeCalled(const Size& oldParentSize);
    virtual void onParentResized();
    /// Mouse coordinates are relative to the widget's absolute rectangle.
    virtual void onMouseDown(int x, int y);
    virtual void onMouseUp(int x, int y);
    virtual void onMouseMove(int x, int y);
    virtual bool onKey(KeyCode key, wchar_t c);
    virtual bool onKeyIntercept(KeyCode key, wchar_t c);
    virtual void onTimeout(int id);
    virtual void onNotification(int id);
    virtual void draw(Painter& p);
    virtual int getAutoMinWidth() const;
    virtual int getAutoMinHeight() const;
    /// Whether the widget paints every pixel of r opaquely.
    virtual bool isSolid(const Rect& r) const;
    /// Hit test in widget coordinates; found tells that the search is over,
    /// also when a disabled widget swallowed the press and none is returned.
    virtual Widget* findWidget(int x, int y, bool& found);
    virtual Widget* findWidget(int x, int y);
    /// The rectangles of the widget (widget coordinates) that the keyboard
    /// focus can rest on; a key activating one presses it like a finger in its
    /// middle. Widgets that take clicks have at least one; the rest none.
    virtual std::vector<Rect> getFocusAreas() const;

    // Tree.
    Widget* getParent() const { return m_parent; }
    void linkChild(Widget* child);
    void unlinkChild(Widget* child);
    void setParent(Widget* newParent);
    void enableAlwaysOnTop(bool on);
    /// The children not marked destroyed, in drawing order.
    Children getChildren() const;
    Widget* getTop()
    {
        Widget* w = this;
        while (!w->m_topLevel && w->m_parent)
            w = w->m_parent;
        return w;
    }
    bool isTopLevel() const { return m_topLevel || !m_parent; }
    void setTopLevel() { m_topLevel = true; }
    bool isDescendant(const Widget* w) const;

    // Geometry.
    int getX() const { return m_x; }
    int getY() const { return m_y; }
    int getWidth() const { return m_width; }
    int getHeight() const { return m_height; }
    Size getSize() const { return Size(m_width, m_height); }
    Rect getRect() const { return Rect(m_x, m_y, m_width, m_height); }
    void minimize(bool w, bool h);
    int getMinWidth() const
    {
        return m_autoMinWidth ? std::max(getAutoMinWidth(), m_minWidth) : m_minWidth;
    }
    int getMinHeight() const
    {
        return m_autoMinHeight ? std::max(getAutoMinHeight(), m_minHeight) : m_minHeight;
    }
    void setMinWidth(int w) { m_minWidth = w; }
    void setMinHeight(int h) { m_minHeight = h; }
    void enableAutoMinWidth(bool on) { m_autoMinWidth = on; }
    void enableAutoMinHeight(bool on) { m_autoMinHeight = on; }
    int getTrueX0() const;
    Point getPositionAbs() const;
    Rect getRectAbs() const { return Rect(getPositionAbs(), getSize()); }
    bool isLTR() const { return OKU::isLTR(m_layout); }

    // Appearance.
    void show(bool on = true);
    void hide() { show(false); }
    void enable(bool on = true)
    {
        if (on == m_enabled)
            return;
        m_enabled = on;
        invalidate();
    }
    void disable() { enable(false); }
    /// Own flag combined with every ancestor's.
    bool isVisible() const
    {
        for (const Widget* w = this; w; w = w->m_parent)
            if (!w->m_visible)
                return false;
        return true;
    }
    /// The widget's own flag, whatever its ancestors' are.
    bool isShown() const { return m_visible; }
    bool isEnabled() const
    {
        for (const Widget* w = this; w; w = w->m_parent)
            if (!w->m_enabled)
                return false;
        return true;
    }
    bool isDestroyed() const
    {
        for (const Widget* w = this; w; w = w->m_parent)
            if (w->m_destroyed)
                return true;
        return false;
    }
    /// The widget's own mark, whatever its ancestors' are.
    bool isMarkedDestroyed() const { return m_destroyed; }
    void setForeground(bool on)
    {
        m_foreground = on;
        // The veil behind a foreground widget covers its whole parent.
        if (m_parent)
            m_parent->invalidate();
    }
    bool isForeground() const { return m_foreground || m_modal; }
    bool isModal() const { return m_modal; }
    bool isInteractive() const { return m_interactive; }
    void setInteractive(bool on) { m_interactive = on; }
    void setBgColor(const Color& c)
    {
        setEnabledBgColor(c);
        setDisabledBgColor(c);
    }
    void setEnabledBgColor(const Color& c);
    void setDisabledBgColor(const Color& c);
    Color getBgColor() const;
    void setRedrawMargins(const Margins& m) { m_redrawMargins = m; }
    const Margins& getRedrawMargins() const { return m_redrawMargins; }
    /// The area the widget and its visible children paint, in widget coordinates.
    Rect getRedrawRect() const;

    static void drawShadowFrame(Painter& p, int x, int y, int w, int h, const Color& frame,
                                const Color& shadow);
    static void drawShadowFrame(Painter& p, int x, int y, int w, int h)
    {
        drawShadowFrame(p, x, y, w, h, s_defaultFrameColor, s_defaultShadowColor);
    }

    // Drawing, called by the root widget.
    void drawTree(Painter& p);
    void drawChildren(Painter& p, Children::iterator first);
    bool drawTreeIfSolid(Painter& p);

    // Input, called by the root widget.
    bool deliverKey(KeyCode key, wchar_t c);
    void grabMouse();
    void ungrabMouse();
    /// Which focus area shows the focus ring, -1 for none; set by the root's
    /// keyboard focus.
    void setFocusRing(int area);
    int getFocusRing() const { return m_focusRing; }
    /// Where the keyboard focus starts when this page or window comes to the
    /// top (w's first focus area); without it, the first in reading order.
    void setInitialFocus(Widget* w);

    /// Periodic timers firing onTimeout(id) until killed.
    int addTimeout(int ms);
    void killTimeout(int id);
    void killAllTimeouts();

    /// Protection postpones deletion while a handler runs.
    void protect() { ++m_protectCount; }
    void unprotect();
    int getProtectCount() const { return m_protectCount; }

    /// Deletes the widget at once, unless it or something below it is
    /// protected; false then, and the reaper deletes it later.
    bool nuke();

    /// Runs until this widget is destroyed, with the event loop on a new GUI thread.
    void modal();
    void setModalMark(bool on) { m_modal = on; }

    void onCreationCaller();
    bool hasDescendantCreated() const { return m_descendantCreated; }
    bool isCreated() const { return m_created; }
    void notifyDescendantCreated()
    {
        for (Widget* w = this; w; w = w->m_parent)
            w->m_descendantCreated = true;
    }
    void notifyDescendantDestroyed()
    {
        for (Widget* w = this; w; w = w->m_parent)
            w->m_descendantDestroyed = true;
    }

    sigc::signal<void> m_childrenChanged;

protected:
    // Deferred deletion and teardown, run by the root widget's loop and at
    // the end of the program: a program destroys widgets with destroy() or
    // nuke().
    friend class RootWidget;
    bool deleteChildren();
    /// True when nothing is left to reap below this widget.
    bool grimReaper();
    /// Deletes the subtree whatever its protection, without unlinking it.
    void armageddon();

    Widget* m_parent;
    Children m_children;
    bool m_created = false;
    bool m_descendantCreated = false;
    bool m_descendantDestroyed = false;
    Layout m_layout = Layout::LANGUAGE;
    bool m_topLevel = false;
    int32_t m_protectCount = 0;
    bool m_modal = false;
    bool m_foreground = false;
    bool m_destroyed = false;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_interactive = true;
    bool m_alwaysOnTop = false;
    std::list<int32_t> m_timeouts;
    /// Element 0 while disabled, element 1 while enabled.
    Color m_bgColors[2] = {Color(0, 0, 0, 0), Color(0, 0, 0, 0)};
    int32_t m_x = 0;
    int32_t m_y = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    Margins m_redrawMargins;
    bool m_autoMinWidth = true;
    int32_t m_minWidth = 0;
    bool m_autoMinHeight = true;
    int32_t m_minHeight = 0;
    int32_t m_focusRing = -1;

private:
    /// Deletes the child at it with its subtree; false, keeping what is
    /// protected, when some of it is.
    OKU_LOCAL bool deleteChild(Children::iterator it);
};

} // namespace OKU

#endif
