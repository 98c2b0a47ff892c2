#include "gui/windows/MsgBox.h"

#include "gui/theme/Theme.h"
#include "gui/windows/MessageWindow.h"
#include "gui/windows/YesNoCancelAllWindow.h"

namespace OKU {

namespace {

MessageWindow* createMessageWindow(Widget* parent, const LString& title, const LString& text,
                                   const std::shared_ptr<const Pixmap>& pixmap)
{
    MessageWindow* window = new MessageWindow(parent, title, text);
    if (pixmap)
        window->setPixmap(pixmap);
    return window;
}

// modal() keeps the window alive until it returns; the reaper deletes it only
// after the caller's handler has given the loop back.
template <class Dialog>
int ask(Dialog* dialog)
{
    dialog->modal();
    return dialog->getResult();
}

} // namespace

void msgBox(Widget* parent, const LString& title, const LString& text)
{
    MessageWindow* window = createMessageWindow(parent, title, text, nullptr);
    window->addButtonDivider();
    window->addButton(Theme::g()->createOkButton(window), ANSWER_OK, KEY_CONFIRM, 1, false);
    window->addButtonDivider();
    ask(window);
}

bool msgBoxOkCancel(Widget* parent, const LString& title, const LString& text,
                    std::shared_ptr<const Pixmap> pixmap)
{
    Theme* theme = Theme::g();
    MessageWindow* window = createMessageWindow(parent, title, text, pixmap);
    window->addButton(theme->createCancelButton(window), ANSWER_CANCEL, KEY_CANCEL, 1, false);
    window->addButtonDivider();
    window->addButton(theme->createOkButton(window), ANSWER_OK, KEY_CONFIRM, 1, false);
    return ask(window) == ANSWER_OK;
}

bool msgBoxYesNo(Widget* parent, const LString& title, const LString& text, bool holdToConfirm,
                 std::shared_ptr<const Pixmap> pixmap)
{
    Theme* theme = Theme::g();
    MessageWindow* window = createMessageWindow(parent, title, text, pixmap);
    window->addButton(theme->createNoButton(window), ANSWER_NO, KEY_CANCEL, 1, false);
    window->addButtonDivider();
    window->addButton(theme->createYesButton(window), ANSWER_YES, KEY_CONFIRM, 1, holdToConfirm);
    return ask(window) == ANSWER_YES;
}

int msgBoxYesNoCancel(Widget* parent, const LString& title, const LString& text)
{
    Theme* theme = Theme::g();
    MessageWindow* window = createMessageWindow(parent, title, text, nullptr);
    window->addButton(theme->createCancelButton(window), ANSWER_CANCEL, KEY_CANCEL, 1, false);
    window->addButtonDivider();
    window->addButton(theme->createNoButton(window), ANSWER_NO, KEY_NONE, 1, false);
    window->addButtonDivider();
    window->addButton(theme->createYesButton(window), ANSWER_YES, KEY_CONFIRM, 1, false);
    return ask(window);
}

int msgBoxYesNoAllCancel(Widget* parent, const LString& title, const LString& text)
{
    return ask(new YesNoCancelAllWindow(parent, title, text));
}

} // namespace OKU
