#ifndef OKU_GUI_THEME_KEYBOARDFOCUS_H
#define OKU_GUI_THEME_KEYBOARDFOCUS_H

#include <map>

#include "core/Geometry.h"
#include "core/NonCopyable.h"
#include "core/Visibility.h"
#include "input/KeyCode.h"

namespace OKU {

class Widget;

/// Where the keyboard focus can rest: one of a widget's focus areas
/// (Widget::getFocusAreas).
struct FocusTarget {
    Widget* widget = nullptr;
    int area = 0;

    bool operator==(const FocusTarget& o) const { return widget == o.widget && area == o.area; }
    bool operator!=(const FocusTarget& o) const { return !(*this == o); }
};

/// The keyboard focus of a widget tree: which focus area of the topmost page
/// or window the keys work on, and whether the theme's focus ring shows it.
///
/// Tab and Shift+Tab go round the areas in reading order, the arrows to the
/// nearest area that way. Enter or Space presses the focused
/// area like a finger in its middle and lets go when the key comes up, so a
/// button clicks, and holding the key is a long click.
///
/// The ring is hidden until a focus key is pressed, and a finger on the panel
/// hides it again. A focus key that finds it hidden only shows where the focus
/// is: nobody should move or press what they could not see.
///
/// Every page and window keeps its own focus: a dialog that opens takes the
/// focus to the area given by setInitialFocus (its Cancel or No button, so
/// that an unconsidered Enter never agrees to anything) or else its first one,
/// and the page gets its own back when the dialog closes. Widgets that go
/// away, hide or are disabled pass the focus on.
///
/// GUI thread only; the root widget feeds it.
class KeyboardFocus : private NonCopyable {
public:
    explicit KeyboardFocus(Widget& root) : m_root(root) {}

    /// Takes the focus keys; false for every other key, which goes its usual
    /// way. An activating key pressed before the page or dialog now on top was
    /// shown (aimed false) did not aim at it and presses nothing, as a finger
    /// would not.
    bool onKey(KeyCode key, bool aimed);
    /// A finger pressed the panel.
    void onPress();
    /// Moves a shown focus on when its widget can no longer take it or another
    /// page or window came to the top; called before every redraw.
    void update();
    /// Forgets a widget that is being deleted.
    void forget(Widget* w);
    /// The area of w that gets the focus when scope first comes to the top.
    void setInitialFocus(Widget* scope, Widget* w);

    const FocusTarget& getFocus() const { return m_focus; }

private:
    /// The focus of the topmost page or window, chosen anew when it is gone.
    OKU_LOCAL void validate();
    OKU_LOCAL void setFocus(const FocusTarget& target, Widget* scope);
    OKU_LOCAL void showRing(bool on);
    OKU_LOCAL void moveFocus(KeyCode key);
    OKU_LOCAL void press();
    OKU_LOCAL void release(bool click);

    Widget& m_root;
    FocusTarget m_focus;
    Widget* m_focusScope = nullptr;
    /// Per page or window, where its focus was last, or where it starts.
    std::map<Widget*, FocusTarget> m_scopeFocus;
    bool m_ringShown = false;
    /// What the activating key pressed, until it comes up or the widget goes.
    Widget* m_pressed = nullptr;
    Point m_pressPoint;
};

} // namespace OKU

#endif
