#ifndef OKU_GUI_WINDOWS_WAITINGBOX_H
#define OKU_GUI_WINDOWS_WAITINGBOX_H

#include <memory>

#include "core/Visibility.h"
#include "gui/windows/Window.h"

namespace OKU {

class Font;
class Pixmap;
class StaticText;

/// A 500 x 300 window showing a text or a picture while something takes its
/// time. It ignores presses outside itself and destroys itself after the given
/// number of seconds; with a negative number it stays until its owner destroys
/// it.
class WaitingBox : public Window {
public:
    /// The picture at its own size, centred.
    WaitingBox(Widget* parent, const LString& title, const std::shared_ptr<const Pixmap>& pixmap,
               int seconds);
    /// The text centred both ways, broken into lines to the window's width.
    WaitingBox(Widget* parent, const LString& title, const LString& text, int seconds);
    WaitingBox(Widget* parent, const LString& text, int seconds);

    /// The font of the text; a picture box has none.
    void setFont(const std::shared_ptr<const Font>& font);

    void onTimeout(int id) override;

private:
    static const int c_width = 500;
    static const int c_height = 300;

    OKU_LOCAL void startCloseTimer(int seconds);

    StaticText* m_text = nullptr;
};

} // namespace OKU

#endif
