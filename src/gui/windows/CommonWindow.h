#ifndef OKU_GUI_WINDOWS_COMMONWINDOW_H
#define OKU_GUI_WINDOWS_COMMONWINDOW_H

#include <memory>

#include "core/Visibility.h"
#include "graphics/Color.h"
#include "gui/layout/HSizer.h"
#include "gui/windows/CommonButtonPages.h"
#include "gui/windows/Window.h"

namespace OKU {

/// A dialog whose lower part is a grey frame with a row of buttons, below a
/// divider; the caller's widgets go into the content container above it. Presses
/// outside the window do not close it.
class CommonWindow : public Window {
public:
    static const Color s_defaultButtonFrameBgColor;

    CommonWindow(Widget* parent, const LString& title);
    /// w and h are size requests as for Window.
    CommonWindow(Widget* parent, int w, int h, const LString& title);

    /// The container for the caller's widgets; it needs a sizer.
    ContainerWidget* getContent() { return m_content; }

protected:
    /// A lone standard button takes its minimum width, like every button of
    /// the row.
    static const int c_singleButtonFactor = 1;

    Widget* getButtonParent() { return m_buttonFrame; }
    HSizer& getButtonRow() { return *m_buttonRow; }
    /// Measures and lays the window out again after its content or its buttons
    /// changed; before creation there is nothing to do, onCreation does it.
    void relayout()
    {
        if (!isCreated())
            return;
        autoResize();
        runSizer();
    }

    ContainerWidget* m_content;
    ContainerWidget* m_buttonFrame;
    std::shared_ptr<HSizer> m_buttonRow;

private:
    OKU_LOCAL void init();
};

// The variants close themselves when their button is pressed. They take the
// constructor arguments of CommonWindow.

/// A common window with an OK button.
class CommonOkWindow : public OkButtonPage<CommonWindow> {
public:
    using OkButtonPage::OkButtonPage;
};

/// A common window with a Cancel button.
class CommonCancelWindow : public CancelButtonPage<CommonWindow> {
public:
    using CancelButtonPage::CancelButtonPage;
};

/// A common window with a Close button.
class CommonCloseWindow : public CloseButtonPage<CommonWindow> {
public:
    using CloseButtonPage::CloseButtonPage;
};

/// A common window with Cancel and OK buttons.
class CommonOkCancelWindow : public OkCancelButtonPage<CommonWindow> {
public:
    using OkCancelButtonPage::OkCancelButtonPage;
};

} // namespace OKU

#endif
