#ifndef OKU_GUI_WINDOWS_MSGBOX_H
#define OKU_GUI_WINDOWS_MSGBOX_H

#include <memory>

#include "gui/windows/DialogAnswer.h"
#include "text/LString.h"

namespace OKU {

class Pixmap;
class Widget;

// Modal questions. Each builds its dialog on parent, which must be top level,
// and returns once the user has answered: the calling handler waits on the GUI
// thread while a new GUI thread runs the loop. The confirming key answers OK
// or Yes, the cancelling key Cancel (or No where there is no Cancel).

/// A message with an OK button.
void msgBox(Widget* parent, const LString& title, const LString& text);
/// True for OK. The picture, if any, stands above the text.
bool msgBoxOkCancel(Widget* parent, const LString& title, const LString& text,
                    std::shared_ptr<const Pixmap> pixmap);
inline bool msgBoxOkCancel(Widget* parent, const LString& title, const LString& text)
{
    return msgBoxOkCancel(parent, title, text, nullptr);
}
/// True for Yes. With holdToConfirm, Yes must be held for a second.
bool msgBoxYesNo(Widget* parent, const LString& title, const LString& text,
                 bool holdToConfirm = false, std::shared_ptr<const Pixmap> pixmap = nullptr);
/// ANSWER_YES, ANSWER_NO or ANSWER_CANCEL; No has no key.
int msgBoxYesNoCancel(Widget* parent, const LString& title, const LString& text);
/// As msgBoxYesNoCancel, or ANSWER_YES_TO_ALL and ANSWER_NO_TO_ALL when the
/// user ticked "To All".
int msgBoxYesNoAllCancel(Widget* parent, const LString& title, const LString& text);

} // namespace OKU

#endif
