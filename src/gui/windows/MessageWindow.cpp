#include "gui/windows/MessageWindow.h"

#include "gui/layout/StackSizer.h"
#include "gui/layout/VSizer.h"
#include "gui/theme/Theme.h"
#include "gui/widgets/Button.h"
#include "gui/widgets/StaticPixmap.h"
#include "gui/widgets/StaticText.h"
#include "gui/windows/MsgBox.h"

namespace OKU {

namespace {

const wchar_t* const c_holdReminder =
    translatable(L"You must press and hold the Yes button to confirm!");

} // namespace

MessageWindow::MessageWindow(Widget* parent, const LString& title, const LString& text)
    : CommonWindow(parent, c_width, c_height, title),
      m_text(new StaticText(m_content, text, HAlign::CENTER, VAlign::CENTER))
{
    layOutContent();
}

void MessageWindow::setPixmap(std::shared_ptr<const Pixmap> pixmap)
{
    if (m_picture != nullptr)
        m_picture->destroy();
    m_picture = new StaticPixmap(m_content, pixmap, false, false);
    layOutContent();
    relayout();
}

void MessageWindow::addButton(Button* b, int result, KeyCode key, int factor, bool holdToConfirm)
{
    const sigc::slot<void> answer =
        sigc::bind(sigc::mem_fun(*this, &MessageWindow::buttonClicked), result);
    if (holdToConfirm) {
        b->signalLongClick.connect(answer);
        b->signalClicked.connect(sigc::mem_fun(*this, &MessageWindow::remindToHold));
        if (m_holdCaption == nullptr)
            addHoldCaption();
    } else {
        b->signalClicked.connect(answer);
    }
    b->setParent(m_buttonFrame);
    m_buttonRow->add(b, factor, VAlign::STRETCH);
    if (key != KEY_NONE)
        m_keyResults[key] = result;
    if (key == KEY_CANCEL)
        setInitialFocus(b);
    relayout();
}

bool MessageWindow::onKey(KeyCode key, wchar_t)
{
    const auto found = m_keyResults.find(key);
    if (found != m_keyResults.end())
        buttonClicked(found->second);
    return true;
}

// The reminder is a dialog of its own on top of this one, which stays open.
void MessageWindow::remindToHold()
{
    msgBox(getTop(), m_title, LString(LString1(c_holdReminder)));
}

void MessageWindow::addHoldCaption()
{
    Theme* theme = Theme::g();
    m_holdCaption = new StaticText(
        m_content, LString(LString1(L"(%1)")).arg(LString1(c_holdReminder)), HAlign::CENTER,
        VAlign::CENTER);
    m_holdCaption->setFont(theme->getStandardFont(theme->getSettings().smallFontSize));
    layOutContent();
}

void MessageWindow::layOutContent()
{
    if (m_picture == nullptr && m_holdCaption == nullptr) {
        m_content->setSizer(
            std::make_shared<StackSizer>(m_text, HAlign::STRETCH, VAlign::STRETCH));
        return;
    }
    auto column = std::make_shared<VSizer>(true, false);
    if (m_picture != nullptr)
        column->add(m_picture, 0, HAlign::STRETCH);
    column->add(m_text, 1, HAlign::STRETCH);
    if (m_holdCaption != nullptr)
        column->add(m_holdCaption, 0, HAlign::STRETCH);
    m_content->setSizer(column);
}

} // namespace OKU
