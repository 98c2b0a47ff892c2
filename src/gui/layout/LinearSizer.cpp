#include "gui/layout/LinearSizer.h"

#include <algorithm>

#include "core/FatalError.h"
#include "gui/layout/detail/SizerItems.h"
#include "gui/theme/Theme.h"

namespace OKU {

Span alignSpan(HAlign a, int start, int length, int minLength)
{
    switch (a) {
    case HAlign::STRETCH:
        return Span{start, length};
    case HAlign::LEFT:
        return Span{start, minLength};
    case HAlign::RIGHT:
        return Span{start + length - minLength, minLength};
    case HAlign::CENTER:
        break;
    }
    return Span{start + (length - minLength) / 2, minLength};
}

Span alignSpan(VAlign a, int start, int length, int minLength)
{
    switch (a) {
    case VAlign::STRETCH:
        return Span{start, length};
    case VAlign::TOP:
        return Span{start, minLength};
    case VAlign::BOTTOM:
        return Span{start + length - minLength, minLength};
    case VAlign::CENTER:
    case VAlign::BASELINE:
        break;
    }
    return Span{start + (length - minLength) / 2, minLength};
}

LinearSizerBase::LinearSizerBase(bool horizontal, bool layoutHidden, bool measureHidden)
    : m_layoutHidden(layoutHidden),
      m_measureHidden(layoutHidden || measureHidden),
      m_defaultMinMargin(Theme::g()->getSettings().sizerMargin),
      m_horizontal(horizontal)
{
}

const char* LinearSizerBase::name() const
{
    return m_horizontal ? HorizontalAxis::c_name : VerticalAxis::c_name;
}

void LinearSizerBase::addWidget(Widget* w, int factor, int32_t align, int minMargin)
{
    if (w == nullptr)
        fatalError("%s::add: Null Widget", name());
    append(w, nullptr, 0, factor, align, minMargin);
}

void LinearSizerBase::addSizer(const std::shared_ptr<Sizer>& s, int factor, int32_t align,
                               int minMargin)
{
    append(nullptr, s, 0, factor, align, minMargin);
}

void LinearSizerBase::addSpace(int size, int factor, int minMargin)
{
    append(nullptr, nullptr, size, factor, 0, minMargin);
}

void LinearSizerBase::addDivider()
{
    m_items.push_back(Item{nullptr, nullptr, 0, -1, 0, 0, 0});
    ++m_dividerCount;
}

void LinearSizerBase::append(Widget* w, const std::shared_ptr<Sizer>& s, int size, int factor,
                             int32_t align, int minMargin)
{
    if (factor < 0)
        fatalError("%s::add: negative factor not allowed", name());
    m_items.push_back(Item{w, s, size, factor, align, minMargin, 0});
}

void LinearSizerBase::clear()
{
    m_items.clear();
    m_dividerCount = 0;
}

bool LinearSizerBase::isItemVisible(const Item& item, bool all) const
{
    return all || isContentShown(item);
}

bool LinearSizerBase::hasMargin(const Item& item, bool all) const
{
    return item.factor >= 0 && isItemVisible(item, all);
}

int LinearSizerBase::mainMin(const Item& item) const
{
    return m_horizontal ? HorizontalAxis::mainMin(item) : VerticalAxis::mainMin(item);
}

int LinearSizerBase::crossMin(const Item& item) const
{
    return m_horizontal ? HorizontalAxis::crossMin(item) : VerticalAxis::crossMin(item);
}

void LinearSizerBase::cacheMinSizes(bool all) const
{
    for (const Item& item : m_items) {
        if (!isItemVisible(item, all))
            item.minSize = 0;
        else
            item.minSize = hasContent(item) ? mainMin(item) : item.size;
    }
}

// Items without margins (dividers, hidden items) neither take room nor
// separate the margins of their neighbours.
int LinearSizerBase::calcTotalFixed(bool all) const
{
    int total = 0;
    const Item* previous = nullptr;
    for (const Item& item : m_items) {
        if (!hasMargin(item, all))
            continue;
        if (previous != nullptr)
            total += std::max(previous->minMargin, item.minMargin);
        if (item.factor == 0)
            total += item.minSize;
        previous = &item;
    }
    return total;
}

int LinearSizerBase::calcTotalFactor(bool all) const
{
    int total = 0;
    for (const Item& item : m_items)
        if (item.factor > 0 && isItemVisible(item, all))
            total += item.factor;
    return total;
}

int LinearSizerBase::calcMinTotalFactor(int totalFactor, bool all) const
{
    int pool = 0;
    for (const Item& item : m_items)
        if (item.factor > 0 && isItemVisible(item, all))
            pool = std::max(pool, (item.minSize * totalFactor + item.factor - 1) / item.factor);
    return pool;
}

int LinearSizerBase::minMainLength() const
{
    cacheMinSizes(m_measureHidden);
    return calcTotalFixed(m_measureHidden) +
           calcMinTotalFactor(calcTotalFactor(m_measureHidden), m_measureHidden);
}

int LinearSizerBase::minCrossLength() const
{
    int length = 0;
    for (const Item& item : m_items)
        if (isItemVisible(item, m_measureHidden))
            length = std::max(length, crossMin(item));
    return length;
}

int LinearSizerBase::getMinWidth() const
{
    return m_horizontal ? minMainLength() : minCrossLength();
}

int LinearSizerBase::getMinHeight() const
{
    return m_horizontal ? minCrossLength() : minMainLength();
}

void LinearSizerBase::show(bool on)
{
    showContent(m_items, on);
}

bool LinearSizerBase::isVisible() const
{
    return isAnyContentVisible(m_items, m_measureHidden);
}

int LinearSizerBase::marginAfter(size_t index, bool all) const
{
    for (size_t next = index + 1; next < m_items.size(); ++next)
        if (hasMargin(m_items[next], all))
            return std::max(m_items[index].minMargin, m_items[next].minMargin);
    return 0;
}

// Flexible items and dividers each take their share of what is left, so the
// last of them absorbs the rounding remainder. Lengths are not clamped: a
// rectangle below the minimum gives short or negative flexible lengths.
template <class Axis>
void LinearSizerBase::fitAlong(const Rect& r, Widget* parent)
{
    if (m_items.empty())
        return;
    validateSize(Axis::c_name, r);
    const bool all = m_layoutHidden;
    cacheMinSizes(all);
    int factors = calcTotalFactor(all);
    const Span main = Axis::main(r);
    const Span cross = Axis::cross(r);
    int flexiblePool = main.length - calcTotalFixed(all);
    int dividerPool = 0;
    if (m_dividerCount > 0) {
        const int flexibleMinimum = calcMinTotalFactor(factors, all);
        dividerPool = flexiblePool - flexibleMinimum;
        flexiblePool = flexibleMinimum;
    }
    int dividers = m_dividerCount;
    int position = main.start;
    for (size_t i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        if (parent != nullptr && item.widget != nullptr && item.widget->getParent() != parent)
            fatalError("Incorrect widget parent in %s", Axis::c_name);
        if (!isItemVisible(item, all))
            continue;
        int length = item.minSize;
        if (item.factor < 0) {
            length = dividerPool / dividers;
            dividerPool -= length;
            --dividers;
        } else if (item.factor > 0) {
            length = item.factor * flexiblePool / factors;
            flexiblePool -= length;
            factors -= item.factor;
        }
        const auto align = static_cast<typename Axis::CrossAlign>(item.align);
        const Span across = alignSpan(align, cross.start, cross.length, Axis::crossMin(item));
        placeContent(item, Axis::rect(Span{position, length}, across), parent);
        if (item.factor >= 0)
            position += marginAfter(i, all);
        position += length;
    }
}

void LinearSizerBase::doFitRect(const Rect& r, Widget* parent)
{
    if (m_horizontal)
        fitAlong<HorizontalAxis>(r, parent);
    else
        fitAlong<VerticalAxis>(r, parent);
}

} // namespace OKU
