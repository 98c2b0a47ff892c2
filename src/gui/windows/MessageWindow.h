#ifndef OKU_GUI_WINDOWS_MESSAGEWINDOW_H
#define OKU_GUI_WINDOWS_MESSAGEWINDOW_H

#include <cstdint>
#include <map>
#include <memory>

#include "core/Visibility.h"
#include "gui/windows/CommonWindow.h"
#include "input/KeyCode.h"

namespace OKU {

class Button;
class Pixmap;
class StaticPixmap;
class StaticText;

/// A 620 x 350 dialog showing a text, optionally below a picture, with buttons
/// that each answer a number. A button or an answering key stores its number
/// and closes the window; the number stays readable until the window is reaped.
/// The keyboard focus starts on the button the cancelling key answers for.
class MessageWindow : public CommonWindow {
public:
    MessageWindow(Widget* parent, const LString& title, const LString& text);

    /// The picture stands above the text at its own size and replaces an
    /// earlier one.
    void setPixmap(std::shared_ptr<const Pixmap> pixmap);
    /// b moves into the button row, after the buttons and dividers added
    /// before. A key other than KEY_NONE answers result as well. With
    /// holdToConfirm only holding the button for the long-click time answers;
    /// a tap reminds the user to hold it, as does a caption below the text.
    void addButton(Button* b, int result, KeyCode key, int factor, bool holdToConfirm);
    void addButtonDivider() { m_buttonRow->addDivider(); }
    void buttonClicked(int result)
    {
        m_result = result;
        destroy();
    }

    bool onKey(KeyCode key, wchar_t c) override;
    int getResult() const { return m_result; }

private:
    static const int c_width = 620;
    static const int c_height = 350;

    OKU_LOCAL void remindToHold();
    OKU_LOCAL void addHoldCaption();
    /// Picture, text and caption, top to bottom, as far as they exist.
    OKU_LOCAL void layOutContent();

    std::map<KeyCode, int32_t> m_keyResults;
    int32_t m_result = 0;
    StaticText* m_text;
    StaticPixmap* m_picture = nullptr;
    StaticText* m_holdCaption = nullptr;
};

} // namespace OKU

#endif
