#include "gui/windows/YesNoCancelAllWindow.h"

#include "gui/layout/StackSizer.h"
#include "gui/layout/VSizer.h"
#include "gui/widgets/CheckBox.h"
#include "gui/widgets/StaticText.h"
#include "gui/windows/DialogAnswer.h"

namespace OKU {

YesNoCancelAllWindow::YesNoCancelAllWindow(Widget* parent, const LString& title,
                                           const LString& text)
    : CommonWindow(parent, c_width, c_height, title),
      m_toAll(new CheckBox(m_buttonFrame, LString(LString1(L"To All")), false, HAlign::RIGHT))
{
    StaticText* question = new StaticText(m_content, text, HAlign::CENTER, VAlign::CENTER);
    m_content->setSizer(std::make_shared<StackSizer>(question, HAlign::STRETCH, VAlign::STRETCH));

    Theme* theme = Theme::g();
    Button* cancel = theme->createCancelButton(m_buttonFrame);
    Button* no = theme->createNoButton(m_buttonFrame);
    Button* yes = theme->createYesButton(m_buttonFrame);
    cancel->signalClicked.connect(sigc::mem_fun(*this, &YesNoCancelAllWindow::cancelClicked));
    no->signalClicked.connect(sigc::mem_fun(*this, &YesNoCancelAllWindow::noClicked));
    yes->signalClicked.connect(sigc::mem_fun(*this, &YesNoCancelAllWindow::yesClicked));
    m_buttonRow->add(cancel, 0, VAlign::STRETCH);
    m_buttonRow->addDivider();
    m_buttonRow->add(no, 0, VAlign::STRETCH);
    m_buttonRow->addDivider();
    m_buttonRow->add(yes, 0, VAlign::STRETCH);
    setInitialFocus(cancel);

    // The check box fills the row's width and draws itself at its trailing
    // end, also in right-to-left layouts.
    auto column = std::make_shared<VSizer>(true, false);
    column->add(m_toAll, 0, HAlign::STRETCH);
    column->add(m_buttonRow, 0, HAlign::STRETCH);
    m_buttonFrame->setSizer(column);
}

void YesNoCancelAllWindow::yesClicked()
{
    answer(m_toAll->isChecked() ? ANSWER_YES_TO_ALL : ANSWER_YES);
}

void YesNoCancelAllWindow::noClicked()
{
    answer(m_toAll->isChecked() ? ANSWER_NO_TO_ALL : ANSWER_NO);
}

void YesNoCancelAllWindow::cancelClicked()
{
    answer(ANSWER_CANCEL);
}

bool YesNoCancelAllWindow::onKey(KeyCode key, wchar_t)
{
    if (key == KEY_CONFIRM)
        yesClicked();
    else if (key == KEY_CANCEL)
        cancelClicked();
    return true;
}

void YesNoCancelAllWindow::answer(int result)
{
    m_result = result;
    destroy();
}

} // namespace OKU
