#include "gui/layout/StackSizer.h"

#include <algorithm>

#include "core/FatalError.h"
#include "gui/layout/detail/SizerItems.h"

namespace OKU {

StackSizer::StackSizer(Widget* w, HAlign h, VAlign v, bool measureHidden)
    : m_measureHidden(measureHidden)
{
    add(w, h, v);
}

void StackSizer::add(Widget* w, HAlign h, VAlign v)
{
    if (w == nullptr)
        fatalError("StackSizer::add: Null Widget");
    m_items.push_back(Item{w, nullptr, h, v});
}

void StackSizer::add(const std::shared_ptr<Sizer>& s, HAlign h, VAlign v)
{
    m_items.push_back(Item{nullptr, s, h, v});
}

bool StackSizer::isItemIncluded(const Item& item) const
{
    return m_measureHidden || isContentShown(item);
}

int StackSizer::getMinWidth() const
{
    int width = 0;
    for (const Item& item : m_items)
        if (isItemIncluded(item))
            width = std::max(width, contentMinWidth(item));
    return width;
}

int StackSizer::getMinHeight() const
{
    int height = 0;
    for (const Item& item : m_items)
        if (isItemIncluded(item))
            height = std::max(height, contentMinHeight(item));
    return height;
}

void StackSizer::show(bool on)
{
    showContent(m_items, on);
}

bool StackSizer::isVisible() const
{
    return isAnyContentVisible(m_items, m_measureHidden);
}

void StackSizer::doFitRect(const Rect& r, Widget* parent)
{
    validateSize("StackSizer", r);
    for (Item& item : m_items)
        doFitRectItem(r, parent, item);
}

void StackSizer::doFitRectSingle(const Rect& r, Widget* parent, int index)
{
    doFitRectItem(r, parent, m_items.at(index));
}

void StackSizer::doFitRectItem(const Rect& r, Widget* parent, Item& item)
{
    if (parent != nullptr && item.widget != nullptr && item.widget->getParent() != parent)
        fatalError("Incorrect widget parent in StackSizer");
    if (!isItemIncluded(item))
        return;
    if (item.valign == VAlign::BASELINE)
        fatalError("StackSizer does not support VAlign::BASELINE");
    const Span x = alignSpan(item.halign, r.x, r.width, contentMinWidth(item));
    const Span y = alignSpan(item.valign, r.y, r.height, contentMinHeight(item));
    placeContent(item, Rect(x.start, y.start, x.length, y.length), parent);
}

} // namespace OKU
