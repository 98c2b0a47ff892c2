#ifndef OKU_GUI_LAYOUT_LINEARSIZER_H
#define OKU_GUI_LAYOUT_LINEARSIZER_H

#include <cstdint>
#include <memory>
#include <vector>

#include "core/Geometry.h"
#include "core/Visibility.h"
#include "graphics/Alignment.h"
#include "gui/layout/Sizer.h"
#include "gui/tree/Widget.h"

namespace OKU {

/// A stretch of one axis: x and width, or y and height.
struct Span {
    int32_t start;
    int32_t length;
};

/// The minimum size of the item's widget or sizer; 0 for neither. Hidden like
/// the sizers' other item helpers: whoever uses them compiles them from here.
template <class Item>
OKU_LOCAL int contentMinWidth(const Item& item)
{
    if (item.widget != nullptr)
        return item.widget->getMinWidth();
    return item.sizer ? item.sizer->getMinWidth() : 0;
}

template <class Item>
OKU_LOCAL int contentMinHeight(const Item& item)
{
    if (item.widget != nullptr)
        return item.widget->getMinHeight();
    return item.sizer ? item.sizer->getMinHeight() : 0;
}

/// A row lays its items out along x and aligns them within its height.
struct HorizontalAxis {
    typedef VAlign CrossAlign;
    static constexpr const char* c_name = "HSizer";
    static constexpr bool c_isHorizontal = true;

    static Span main(const Rect& r) { return Span{r.x, r.width}; }
    static Span cross(const Rect& r) { return Span{r.y, r.height}; }
    template <class Item>
    static int mainMin(const Item& item) { return contentMinWidth(item); }
    template <class Item>
    static int crossMin(const Item& item) { return contentMinHeight(item); }
    static Rect rect(const Span& main, const Span& cross)
    {
        return Rect(main.start, cross.start, main.length, cross.length);
    }
};

/// A column: a row with the axes swapped.
struct VerticalAxis {
    typedef HAlign CrossAlign;
    static constexpr const char* c_name = "VSizer";
    static constexpr bool c_isHorizontal = false;

    static Span main(const Rect& r) { return Span{r.y, r.height}; }
    static Span cross(const Rect& r) { return Span{r.x, r.width}; }
    template <class Item>
    static int mainMin(const Item& item) { return contentMinHeight(item); }
    template <class Item>
    static int crossMin(const Item& item) { return contentMinWidth(item); }
    static Rect rect(const Span& main, const Span& cross)
    {
        return Rect(cross.start, main.start, cross.length, main.length);
    }
};

/// The algorithm HSizer and VSizer share, compiled once for both directions.
/// "Main" is the axis the items are lined up on, "cross" the other one. Items
/// are fixed (factor 0), flexible (factor > 0, sharing what the fixed items
/// and margins leave), or dividers (factor -1, sharing all the extra room when
/// there are any, so that flexible items then keep their minimum).
class LinearSizerBase : public Sizer {
public:
    /// A widget, a nested sizer or a space in the row, with its stretch factor.
    struct Item {
        Widget* widget;
        std::shared_ptr<Sizer> sizer;
        /// The main length of a space.
        int32_t size;
        int32_t factor;
        /// The cross alignment: a row's VAlign or a column's HAlign.
        int32_t align;
        int32_t minMargin;
        /// The minimum main length found by the last measurement.
        mutable int32_t minSize;
    };

    void addSpace(int size, int factor) { addSpace(size, factor, m_defaultMinMargin); }
    void addSpace(int size, int factor, int minMargin);
    void addDivider();
    void setDefaultMinMargin(int m) { m_defaultMinMargin = m; }
    void clear();

    int getMinWidth() const override;
    int getMinHeight() const override;
    void show(bool on) override;
    bool isVisible() const override;
    void doFitRect(const Rect& r, Widget* parent) override;

protected:
    LinearSizerBase(bool horizontal, bool layoutHidden, bool measureHidden);

    /// LinearSizer::add without the type of the alignment.
    void addWidget(Widget* w, int factor, int32_t align, int minMargin);
    void addSizer(const std::shared_ptr<Sizer>& s, int factor, int32_t align, int minMargin);
    /// With all set, hidden widgets and invisible sizers count as well.
    void cacheMinSizes(bool all) const;

    bool m_layoutHidden;
    bool m_measureHidden;
    std::vector<Item> m_items;
    int32_t m_defaultMinMargin;
    int32_t m_dividerCount = 0;

private:
    /// HSizer or VSizer, for messages.
    OKU_LOCAL const char* name() const;
    OKU_LOCAL void append(Widget* w, const std::shared_ptr<Sizer>& s, int size, int factor,
                          int32_t align, int minMargin);
    OKU_LOCAL bool hasMargin(const Item& item, bool all) const;
    OKU_LOCAL bool isItemVisible(const Item& item, bool all) const;
    OKU_LOCAL int calcTotalFixed(bool all) const;
    OKU_LOCAL int calcTotalFactor(bool all) const;
    /// The smallest flexible pool that gives every flexible item its minimum.
    OKU_LOCAL int calcMinTotalFactor(int totalFactor, bool all) const;
    OKU_LOCAL int mainMin(const Item& item) const;
    OKU_LOCAL int crossMin(const Item& item) const;
    OKU_LOCAL int minMainLength() const;
    OKU_LOCAL int minCrossLength() const;
    /// The margin after items[index], or 0 when no later item has margins.
    OKU_LOCAL int marginAfter(size_t index, bool all) const;
    /// doFitRect with the geometry of the sizer's direction.
    template <class Axis>
    OKU_LOCAL void fitAlong(const Rect& r, Widget* parent);

    bool m_horizontal;
};

/// A row or a column whose items take the alignment type of its cross axis.
template <class Axis>
class LinearSizer : public LinearSizerBase {
public:
    typedef typename Axis::CrossAlign Align;

    LinearSizer(bool layoutHidden, bool measureHidden)
        : LinearSizerBase(Axis::c_isHorizontal, layoutHidden, measureHidden)
    {
    }

    void add(Widget* w, int factor, Align a) { add(w, factor, a, m_defaultMinMargin); }
    void add(Widget* w, int factor, Align a, int minMargin)
    {
        addWidget(w, factor, static_cast<int32_t>(a), minMargin);
    }
    void add(const std::shared_ptr<Sizer>& s, int factor, Align a)
    {
        add(s, factor, a, m_defaultMinMargin);
    }
    void add(const std::shared_ptr<Sizer>& s, int factor, Align a, int minMargin)
    {
        addSizer(s, factor, static_cast<int32_t>(a), minMargin);
    }
};

} // namespace OKU

#endif
