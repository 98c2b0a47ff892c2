#ifndef OKU_INPUT_KEYCODE_H
#define OKU_INPUT_KEYCODE_H

namespace OKU {

/// Keys as the widgets see them. The confirming key answers OK or Yes, the
/// cancelling key (Escape on a keyboard) Cancel or No. The focus keys move the
/// keyboard focus (Tab, Shift+Tab, the arrows); the activating key (Enter or
/// Space) arrives as a press and a release, so that holding it is a long click.
enum KeyCode {
    KEY_NONE = 0,
    KEY_CONFIRM = 3,
    KEY_CANCEL = 4,
    KEY_FOCUS_NEXT,
    KEY_FOCUS_PREVIOUS,
    KEY_ARROW_LEFT,
    KEY_ARROW_RIGHT,
    KEY_ARROW_UP,
    KEY_ARROW_DOWN,
    KEY_ACTIVATE_DOWN,
    KEY_ACTIVATE_UP
};

} // namespace OKU

#endif
