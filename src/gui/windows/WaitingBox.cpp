#include "gui/windows/WaitingBox.h"

#include "gui/layout/StackSizer.h"
#include "gui/layout/VSizer.h"
#include "gui/widgets/StaticPixmap.h"
#include "gui/widgets/StaticText.h"

namespace OKU {

WaitingBox::WaitingBox(Widget* parent, const LString& title,
                       const std::shared_ptr<const Pixmap>& pixmap, int seconds)
    : Window(parent, c_width, c_height, title, false)
{
    auto sizer = std::make_shared<VSizer>(true, false);
    sizer->addSpace(0, 1);
    sizer->add(new StaticPixmap(this, pixmap, false, true), 0, HAlign::CENTER);
    sizer->addSpace(0, 1);
    setSizer(sizer);
    startCloseTimer(seconds);
}

WaitingBox::WaitingBox(Widget* parent, const LString& title, const LString& text, int seconds)
    : Window(parent, c_width, c_height, title, false),
      m_text(new StaticText(this, text, HAlign::CENTER, VAlign::CENTER))
{
    setSizer(std::make_shared<StackSizer>(m_text, HAlign::STRETCH, VAlign::STRETCH));
    startCloseTimer(seconds);
}

WaitingBox::WaitingBox(Widget* parent, const LString& text, int seconds)
    : WaitingBox(parent, LString(), text, seconds)
{
}

void WaitingBox::setFont(const std::shared_ptr<const Font>& font)
{
    if (m_text != nullptr)
        m_text->setFont(font);
}

void WaitingBox::startCloseTimer(int seconds)
{
    if (seconds >= 0)
        addTimeout(seconds * 1000);
}

// The close timer is the box's only timer.
void WaitingBox::onTimeout(int)
{
    destroy();
}

} // namespace OKU
