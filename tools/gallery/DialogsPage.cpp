#include "Pages.h"

#include <functional>
#include <memory>

#include "gui/layout/GridSizer.h"
#include "gui/layout/VSizer.h"
#include "gui/tree/ContainerWidget.h"
#include "gui/widgets/Button.h"
#include "gui/widgets/StaticText.h"
#include "gui/windows/DialogAnswer.h"
#include "gui/windows/MsgBox.h"
#include "gui/windows/WaitingBox.h"

#include "PageParts.h"

using namespace OKU;

namespace {

LString answerName(int answer)
{
    switch (answer) {
    case ANSWER_OK:
        return translated(L"OK");
    case ANSWER_YES:
        return translated(L"Yes");
    case ANSWER_NO:
        return translated(L"No");
    case ANSWER_CANCEL:
        return translated(L"Cancel");
    case ANSWER_YES_TO_ALL:
        return translated(L"Yes to all");
    case ANSWER_NO_TO_ALL:
        return translated(L"No to all");
    }
    return LString(std::to_wstring(answer));
}

// A dialog the page opens: it returns the answer to show.
typedef std::function<int(Widget* top, const LString& title)> Dialog;

} // namespace

void buildDialogsPage(ContainerWidget* page)
{
    StaticText* answer = new StaticText(page, translated(L"No dialog answered yet."),
                                        HAlign::CENTER, VAlign::CENTER);
    const LString question = translated(L"Do you like what you see?");

    const struct {
        const wchar_t* name;
        Dialog dialog;
    } dialogs[] = {
        {L"msgBox",
         [](Widget* top, const LString& title) {
             msgBox(top, title, translated(L"A message with an OK button."));
             return ANSWER_OK;
         }},
        {L"msgBoxOkCancel",
         [](Widget* top, const LString& title) {
             return msgBoxOkCancel(top, title, translated(L"OK or Cancel?")) ? ANSWER_OK
                                                                               : ANSWER_CANCEL;
         }},
        {L"msgBoxYesNo, hold to confirm",
         [question](Widget* top, const LString& title) {
             return msgBoxYesNo(top, title, question, true) ? ANSWER_YES : ANSWER_NO;
         }},
        {L"msgBoxYesNoCancel",
         [question](Widget* top, const LString& title) {
             return msgBoxYesNoCancel(top, title, question);
         }},
        {L"msgBoxYesNoAllCancel",
         [question](Widget* top, const LString& title) {
             return msgBoxYesNoAllCancel(top, title, question);
         }},
    };

    auto grid = std::make_shared<GridSizer>(2, 1, 0, HAlign::STRETCH, VAlign::STRETCH);
    for (const auto& d : dialogs) {
        const LString title(d.name);
        Button* button = new Button(page, title, nullptr, WidgetPainter::PP_LEFT_OF_TEXT,
                                    HAlign::CENTER, VAlign::CENTER);
        button->signalClicked.connect([page, answer, title, dialog = d.dialog] {
            const int result = dialog(page->getTop(), title);
            answer->setText(
                LString(LString1(L"%1 answered: %2")).arg(title).arg(answerName(result)));
        });
        grid->add(button);
    }

    Button* waiting = new Button(page, translated(L"Waiting box for 3 seconds"), nullptr,
                                 WidgetPainter::PP_LEFT_OF_TEXT, HAlign::CENTER, VAlign::CENTER);
    waiting->signalClicked.connect([page] {
        new WaitingBox(page->getTop(), translated(L"Waiting box"),
                       translated(L"This box closes itself after 3 seconds."), 3);
    });
    grid->add(waiting);

    auto column = std::make_shared<VSizer>();
    column->add(createHeading(page, L"Modal dialogs: each button waits for the answer"), 0,
                HAlign::STRETCH);
    column->add(grid, 0, HAlign::STRETCH);
    column->add(answer, 1, HAlign::STRETCH);
    page->setSizer(column);
}
