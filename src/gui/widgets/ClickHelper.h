#ifndef OKU_GUI_WIDGETS_CLICKHELPER_H
#define OKU_GUI_WIDGETS_CLICKHELPER_H

#include <cstdint>
#include <sigc++/sigc++.h>

#include "core/Visibility.h"

namespace OKU {

class Widget;

/// Decides whether a press ends in a click or a long click. The owning widget
/// forwards its mouse handlers and every timeout; a press held for
/// m_longClickTime emits the long-click signal and then no click follows. The
/// long-click timer only runs while somebody listens for long clicks, and it
/// dies when the finger leaves the widget.
class ClickHelper {
public:
    ClickHelper(Widget* widget, sigc::signal<void>& click, sigc::signal<void>& longClick)
        : m_widget(widget), m_click(click), m_longClick(longClick)
    {
    }
    ClickHelper(const ClickHelper&) = delete;
    ClickHelper& operator=(const ClickHelper&) = delete;
    ~ClickHelper() { maybeKillTimeout(); }

    /// While disabled neither signal is emitted.
    void enable(bool on) { m_enabled = on; }
    void onMouseDown();
    void onMouseMove(bool inside);
    /// Widget coordinates.
    void onMouseMove(int x, int y);
    void onMouseUp(bool inside);
    void onMouseUp(int x, int y);
    /// Ignores the ids of other timers of the widget.
    void onTimeout(int id);
    void maybeKillTimeout();

    int32_t m_longClickTime = 1000;

private:
    OKU_LOCAL bool contains(int x, int y) const;

    bool m_enabled = true;
    Widget* m_widget;
    sigc::signal<void>& m_click;
    sigc::signal<void>& m_longClick;
    bool m_longClicked = false;
    int32_t m_timer = -1;
};

} // namespace OKU

#endif
