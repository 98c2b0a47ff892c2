#include "gui/layout/AltSizer.h"

#include "gui/layout/detail/SizerItems.h"
#include "gui/tree/ContainerWidget.h"

namespace OKU {

AltSizer::AltSizer(ContainerWidget* c) : StackSizer(true), m_container(c)
{
}

AltSizer::AltSizer(ContainerWidget* c, Widget* first, HAlign h, VAlign v)
    : StackSizer(first, h, v, true), m_container(c)
{
}

bool AltSizer::isAlternative(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < m_items.size();
}

void AltSizer::doFitRect(const Rect& r, Widget* parent)
{
    if (isAlternative(m_selected))
        doFitRectSingle(r, parent, m_selected);
}

// While nothing is selected, alternatives may still be shown as they were
// added, so all of them are hidden; afterwards only the previous one is.
void AltSizer::select(int index)
{
    if (index == m_selected)
        return;
    if (isAlternative(m_selected))
        showItemContent(m_items[m_selected], false);
    else
        StackSizer::show(false);
    if (isAlternative(index))
        showItemContent(m_items[index], true);
    m_selected = index;
    m_container->runSizer();
}

} // namespace OKU
