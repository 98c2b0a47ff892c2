#ifndef OKU_GUI_WINDOWS_COMMONSCREEN_H
#define OKU_GUI_WINDOWS_COMMONSCREEN_H

#include <memory>

#include "gui/layout/HSizer.h"
#include "gui/windows/CommonButtonPages.h"
#include "gui/windows/Screen.h"

namespace OKU {

class Frame;

/// A full-screen page: a frame for the page's content above a row of buttons
/// along the bottom.
class CommonScreen : public Screen {
public:
    explicit CommonScreen(Widget* parent);

    /// The frame for the page's widgets; it needs a sizer.
    Frame* getContent() { return m_content; }

protected:
    /// A lone standard button keeps its minimum width.
    static const int c_singleButtonFactor = 0;

    Widget* getButtonParent() { return this; }
    HSizer& getButtonRow() { return *m_buttonRow; }
    /// Lays the page out again after its buttons changed; before creation
    /// there is nothing to do, onCreation does it.
    void relayout()
    {
        if (isCreated())
            runSizer();
    }

    Frame* m_content;
    std::shared_ptr<HSizer> m_buttonRow;
};

// The variants close themselves when their button is pressed.

/// A common screen with an OK button.
class CommonOkScreen : public OkButtonPage<CommonScreen> {
public:
    using OkButtonPage::OkButtonPage;
};

/// A common screen with a Cancel button.
class CommonCancelScreen : public CancelButtonPage<CommonScreen> {
public:
    using CancelButtonPage::CancelButtonPage;
};

/// A common screen with a Close button.
class CommonCloseScreen : public CloseButtonPage<CommonScreen> {
public:
    using CloseButtonPage::CloseButtonPage;
};

/// A common screen with Cancel and OK buttons.
class CommonOkCancelScreen : public OkCancelButtonPage<CommonScreen> {
public:
    using OkCancelButtonPage::OkCancelButtonPage;
};

} // namespace OKU

#endif
