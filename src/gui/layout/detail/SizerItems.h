#ifndef OKU_GUI_LAYOUT_DETAIL_SIZERITEMS_H
#define OKU_GUI_LAYOUT_DETAIL_SIZERITEMS_H

// Private to the sizers: what their items (rows, columns, stacks and grids)
// share when they are shown, hidden and placed.

#include "core/Geometry.h"
#include "graphics/Alignment.h"
#include "gui/layout/LinearSizer.h"
#include "gui/layout/Sizer.h"
#include "gui/tree/Widget.h"

// alignSpan is defined in LinearSizer.cpp, and the templates are instantiated
// by the sizers, all compiled with the public classes: the declarations keep
// them out of the shared library's exports all the same.
#pragma GCC visibility push(hidden)

namespace OKU {

/// Places content of the given minimum length inside the span [start, start +
/// length) by its alignment. STRETCH takes the whole span; BASELINE is centred
/// like CENTER.
Span alignSpan(HAlign a, int start, int length, int minLength);
Span alignSpan(VAlign a, int start, int length, int minLength);

/// Items of rows, columns, stacks and grids hold a widget, a sizer or neither.
/// A hidden widget and an invisible sizer count as not shown; an item with
/// neither is always shown.
template <class Item>
bool isContentShown(const Item& item)
{
    if (item.widget != nullptr)
        return item.widget->isShown();
    return !item.sizer || item.sizer->isVisible();
}

template <class Item>
bool hasContent(const Item& item)
{
    return item.widget != nullptr || item.sizer;
}

/// False without any widget or sizer; with measureHidden every one counts,
/// else only the shown ones.
template <class Items>
bool isAnyContentVisible(const Items& items, bool measureHidden)
{
    for (const auto& item : items)
        if (hasContent(item) && (measureHidden || isContentShown(item)))
            return true;
    return false;
}

/// Gives the item's widget the rectangle, or fits its sizer into it; a space
/// only takes room.
template <class Item>
void placeContent(const Item& item, const Rect& r, Widget* parent)
{
    if (item.widget != nullptr)
        item.widget->setGeometry(r.x, r.y, r.width, r.height);
    else if (item.sizer)
        item.sizer->fitRect(r, parent);
}

template <class Item>
void showItemContent(Item& item, bool on)
{
    if (item.widget != nullptr)
        item.widget->show(on);
    if (item.sizer)
        item.sizer->show(on);
}

template <class Items>
void showContent(Items& items, bool on)
{
    for (auto& item : items)
        showItemContent(item, on);
}

} // namespace OKU

#pragma GCC visibility pop

#endif
