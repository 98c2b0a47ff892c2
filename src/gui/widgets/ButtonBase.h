#ifndef OKU_GUI_WIDGETS_BUTTONBASE_H
#define OKU_GUI_WIDGETS_BUTTONBASE_H

#include <cstdint>
#include <sigc++/sigc++.h>

#include "core/Visibility.h"
#include "gui/tree/Widget.h"
#include "gui/widgets/ClickHelper.h"

namespace OKU {

/// Press, release, click, long click and auto-repeat on top of the widget's
/// mouse handlers; it draws nothing itself. A finger that slides off the
/// button releases it without a click and presses it again when it comes
/// back. While signalRepeat has slots, a press emits it at once and then after
/// m_repeatDelay and every m_repeatInterval milliseconds while held.
class ButtonBase : public Widget {
public:
    explicit ButtonBase(Widget* parent);

    /// A negative delay switches auto-repeat off; an interval below 1 repeats
    /// at the delay.
    virtual void setRepeat(int delay, int interval);
    /// Whether an accepted press may become signalClicked.
    virtual bool clickAllowed();

    void onMouseDown(int x, int y) override;
    void onMouseUp(int x, int y) override;
    void onMouseMove(int x, int y) override;
    void onTimeout(int id) override;
    void draw(Painter& p) override;
    std::vector<Rect> getFocusAreas() const override;

    bool isDown() const { return m_down; }
    /// True only while signalRepeat is being emitted.
    bool isInRepeat() const { return m_inRepeat; }

    sigc::signal<void> signalPressed;
    sigc::signal<void> signalReleased;
    sigc::signal<void> signalClicked;
    sigc::signal<void> signalLongClick;
    sigc::signal<void> signalRepeat;
    /// The click helper's click, before clickAllowed() has had its say.
    sigc::signal<void> signalIntClick;

protected:
    void onIntClick();

    ClickHelper m_clickHelper;
    bool m_down = false;
    int32_t m_repeatTimer = -1;
    int32_t m_repeatDelay = 500;
    int32_t m_repeatInterval = 200;
    bool m_inRepeat = false;

private:
    OKU_LOCAL void goDown();
    OKU_LOCAL void goUp();
    OKU_LOCAL bool repeatWanted() const;
    OKU_LOCAL void emitRepeat();
    OKU_LOCAL void startRepeat(int ms);
    OKU_LOCAL void stopRepeat();
};

} // namespace OKU

#endif
