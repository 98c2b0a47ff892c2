#ifndef OKU_GUI_KEYCODE_H
#define OKU_GUI_KEYCODE_H

namespace OKU {

// The confirming key answers OK or Yes, the cancelling key Cancel or No.
enum KeyCode { KEY_NONE = 0, KEY_CONFIRM = 3, KEY_CANCEL = 4 };

} // namespace OKU

#endif
