#ifndef OKU_GUI_WIDGETS_TOGGLEBUTTONBASE_H
#define OKU_GUI_WIDGETS_TOGGLEBUTTONBASE_H

#include <sigc++/sigc++.h>

#include "core/Visibility.h"
#include "gui/tree/Widget.h"

namespace OKU {

/// A two-state widget: a release inside flips it between checked and not and
/// emits signalToggled. A sticky button that is checked ignores the finger,
/// like a radio button that the user cannot switch off; only setChecked
/// unchecks it.
class ToggleButtonBase : public Widget {
public:
    ToggleButtonBase(Widget* parent, bool checked, bool sticky);

    virtual bool isChecked() const;
    /// signalToggled is emitted only when notify is set and the state changes.
    virtual void setChecked(bool checked, bool notify);
    /// Whether a release inside may flip the state.
    virtual bool toggleAllowed();

    void onMouseDown(int x, int y) override;
    void onMouseUp(int x, int y) override;
    void onMouseMove(int x, int y) override;
    std::vector<Rect> getFocusAreas() const override;

    void setSticky(bool sticky) { m_sticky = sticky; }
    /// Pressed and the finger inside.
    bool isDown() const { return m_down; }

    sigc::signal<void> signalToggled;

protected:
    bool m_checked;
    bool m_down = false;
    bool m_sticky;

private:
    bool ignoresFinger() const { return m_sticky && m_checked; }
    OKU_LOCAL void setDown(bool down);
};

} // namespace OKU

#endif
