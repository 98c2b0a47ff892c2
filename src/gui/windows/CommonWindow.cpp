#include "gui/windows/CommonWindow.h"

#include "gui/layout/VSizer.h"
#include "gui/widgets/Divider.h"

namespace OKU {

const Color CommonWindow::s_defaultButtonFrameBgColor(144, 144, 144, 255);

CommonWindow::CommonWindow(Widget* parent, const LString& title) : Window(parent, title, false)
{
    init();
}

CommonWindow::CommonWindow(Widget* parent, int w, int h, const LString& title)
    : Window(parent, w, h, title, false)
{
    init();
}

// The content and the button frame reach the window's frame; they keep their
// own margins inside.
void CommonWindow::init()
{
    setMargins(0);
    m_content = new ContainerWidget(this);
    m_buttonFrame = new ContainerWidget(this);
    m_buttonFrame->setBgColor(s_defaultButtonFrameBgColor);
    m_buttonRow = std::make_shared<HSizer>(false, false);
    m_buttonFrame->setSizer(m_buttonRow);

    auto column = std::make_shared<VSizer>();
    column->setDefaultMinMargin(0);
    column->add(m_content, 1, HAlign::STRETCH);
    column->add(new Divider(this, true, Theme::g()->getSettings().dividerMargin), 0, HAlign::STRETCH);
    column->add(m_buttonFrame, 0, HAlign::STRETCH);
    setSizer(column);
}

} // namespace OKU
