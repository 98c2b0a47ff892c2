#ifndef OKU_GUI_WINDOWS_YESNOCANCELALLWINDOW_H
#define OKU_GUI_WINDOWS_YESNOCANCELALLWINDOW_H

#include <cstdint>

#include "core/Visibility.h"
#include "gui/windows/CommonWindow.h"

namespace OKU {

class CheckBox;

/// A 620 x 350 Yes/No/Cancel question about one of several items, with a
/// "To All" check box above the buttons that turns Yes and No into answers
/// for all of them (DialogAnswer). The confirming key answers Yes, the
/// cancelling key Cancel; the keyboard focus starts on Cancel.
class YesNoCancelAllWindow : public CommonWindow {
public:
    YesNoCancelAllWindow(Widget* parent, const LString& title, const LString& text);

    void yesClicked();
    void noClicked();
    void cancelClicked();

    bool onKey(KeyCode key, wchar_t c) override;
    int getResult() const { return m_result; }

private:
    static const int c_width = 620;
    static const int c_height = 350;

    /// Stores the answer and closes the window.
    OKU_LOCAL void answer(int result);

    CheckBox* m_toAll;
    int32_t m_result = 0;
};

} // namespace OKU

#endif
