#ifndef OKU_GUI_WINDOWS_COMMONBUTTONPAGES_H
#define OKU_GUI_WINDOWS_COMMONBUTTONPAGES_H

#include <utility>
#include <vector>

#include "gui/layout/HSizer.h"
#include "gui/theme/Theme.h"
#include "gui/widgets/Button.h"
#include "input/KeyCode.h"

namespace OKU {

// The standard button rows shared by common windows and common screens. Page
// is CommonWindow or CommonScreen; it provides getButtonParent() (the widget
// the buttons live in), getButtonRow(), relayout() (lays the page out again
// once it has been created) and c_singleButtonFactor. The constructors take
// the page's own constructor arguments.

/// One standard button centred in the row at its minimum width, between two
/// dividers that share the free room. The confirming and the cancelling key
/// both press it.
template <class Page>
class SingleButtonPage : public Page {
public:
    bool onKey(KeyCode key, wchar_t) override
    {
        if (key == KEY_CONFIRM || key == KEY_CANCEL)
            buttonPressed();
        return true;
    }

protected:
    typedef Button* (Theme::*ButtonFactory)(Widget* parent);

    template <class... PageArgs>
    explicit SingleButtonPage(ButtonFactory create, PageArgs&&... pageArgs)
        : Page(std::forward<PageArgs>(pageArgs)...),
          m_button((Theme::g()->*create)(this->getButtonParent()))
    {
        m_button->signalClicked.connect(sigc::mem_fun(*this, &SingleButtonPage::buttonPressed));
        HSizer& row = this->getButtonRow();
        row.addDivider();
        row.add(m_button, Page::c_singleButtonFactor, VAlign::STRETCH);
        row.addDivider();
    }

    /// Runs the variant's own handler.
    virtual void buttonPressed() = 0;

    Button* m_button;
};

/// A single OK button; okClicked() closes the page.
template <class Page>
class OkButtonPage : public SingleButtonPage<Page> {
public:
    template <class... PageArgs>
    explicit OkButtonPage(PageArgs&&... pageArgs)
        : SingleButtonPage<Page>(&Theme::createOkButton, std::forward<PageArgs>(pageArgs)...)
    {
    }

    /// Closes the page, unless the OK button is disabled.
    virtual void okClicked()
    {
        if (this->m_button->isEnabled())
            this->destroy();
    }

private:
    void buttonPressed() override { okClicked(); }
};

/// A single Cancel button; cancelClicked() closes the page.
template <class Page>
class CancelButtonPage : public SingleButtonPage<Page> {
public:
    template <class... PageArgs>
    explicit CancelButtonPage(PageArgs&&... pageArgs)
        : SingleButtonPage<Page>(&Theme::createCancelButton, std::forward<PageArgs>(pageArgs)...)
    {
    }

    virtual void cancelClicked() { this->destroy(); }

private:
    void buttonPressed() override { cancelClicked(); }
};

/// A single Close button; closeClicked() closes the page.
template <class Page>
class CloseButtonPage : public SingleButtonPage<Page> {
public:
    template <class... PageArgs>
    explicit CloseButtonPage(PageArgs&&... pageArgs)
        : SingleButtonPage<Page>(&Theme::createCloseButton, std::forward<PageArgs>(pageArgs)...)
    {
    }

    virtual void closeClicked() { this->destroy(); }

private:
    void buttonPressed() override { closeClicked(); }
};

/// Cancel at the left end of the row and OK at the right, each at its minimum
/// width; buttons inserted later go in between, dividers sharing the free room.
/// The confirming key presses OK, the cancelling key Cancel; getOk() tells
/// whether the page was closed with OK. The keyboard focus starts on Cancel.
template <class Page>
class OkCancelButtonPage : public Page {
public:
    template <class... PageArgs>
    explicit OkCancelButtonPage(PageArgs&&... pageArgs)
        : Page(std::forward<PageArgs>(pageArgs)...),
          m_okButton(Theme::g()->createOkButton(this->getButtonParent())),
          m_cancelButton(Theme::g()->createCancelButton(this->getButtonParent()))
    {
        m_okButton->signalClicked.connect(sigc::mem_fun(*this, &OkCancelButtonPage::okClicked));
        m_cancelButton->signalClicked.connect(
            sigc::mem_fun(*this, &OkCancelButtonPage::cancelClicked));
        this->setInitialFocus(m_cancelButton);
        layOutRow();
    }

    /// Closes the page with OK, unless the OK button is disabled.
    virtual void okClicked()
    {
        if (!m_okButton->isEnabled())
            return;
        m_ok = true;
        this->destroy();
    }

    virtual void cancelClicked() { this->destroy(); }

    bool onKey(KeyCode key, wchar_t) override
    {
        if (key == KEY_CONFIRM)
            okClicked();
        else if (key == KEY_CANCEL)
            cancelClicked();
        return true;
    }

    bool getOk() const { return m_ok; }

    /// b moves into the row, after the buttons inserted before it.
    void insertButton(Widget* b)
    {
        b->setParent(this->getButtonParent());
        m_insertedButtons.push_back(b);
        layOutRow();
        this->relayout();
    }

protected:
    Button* m_okButton;
    Button* m_cancelButton;
    std::vector<Widget*> m_insertedButtons;
    bool m_ok = false;

private:
    void layOutRow()
    {
        HSizer& row = this->getButtonRow();
        row.clear();
        row.add(m_cancelButton, 1, VAlign::STRETCH);
        row.addDivider();
        for (Widget* b : m_insertedButtons) {
            row.add(b, 1, VAlign::STRETCH);
            row.addDivider();
        }
        row.add(m_okButton, 1, VAlign::STRETCH);
    }
};

} // namespace OKU

#endif
