#include "gui/windows/CommonScreen.h"

#include "gui/layout/VSizer.h"
#include "gui/widgets/Frame.h"

namespace OKU {

CommonScreen::CommonScreen(Widget* parent)
    : Screen(parent), m_content(new Frame(this)), m_buttonRow(std::make_shared<HSizer>(true, false))
{
    auto column = std::make_shared<VSizer>(true, false);
    column->add(m_content, 1, HAlign::STRETCH);
    column->add(m_buttonRow, 0, HAlign::STRETCH);
    setSizer(column);
}

} // namespace OKU
