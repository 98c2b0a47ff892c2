#ifndef OKU_GUI_LAYOUT_STACKSIZER_H
#define OKU_GUI_LAYOUT_STACKSIZER_H

#include <memory>
#include <vector>

#include "core/Visibility.h"
#include "graphics/Alignment.h"
#include "gui/layout/Sizer.h"

namespace OKU {

/// Lays every item out in the same rectangle, on top of each other, each
/// placed by its own alignment.
class StackSizer : public Sizer {
public:
    /// A widget or a nested sizer of the stack, with its alignment.
    struct Item {
        Widget* widget;
        std::shared_ptr<Sizer> sizer;
        HAlign halign;
        VAlign valign;
    };

    /// measureHidden: hidden items count for the minimum size and are laid out.
    explicit StackSizer(bool measureHidden = false) : m_measureHidden(measureHidden) {}
    /// w fills the whole rectangle.
    explicit StackSizer(Widget* w, bool measureHidden = false)
        : StackSizer(w, HAlign::STRETCH, VAlign::STRETCH, measureHidden)
    {
    }
    StackSizer(Widget* w, HAlign h, VAlign v, bool measureHidden = false);

    void add(Widget* w, HAlign h, VAlign v);
    void add(const std::shared_ptr<Sizer>& s, HAlign h, VAlign v);
    void clear() { m_items.clear(); }

    int getMinWidth() const override;
    int getMinHeight() const override;
    void show(bool on) override;
    bool isVisible() const override;
    void doFitRect(const Rect& r, Widget* parent) override;

    void doFitRectSingle(const Rect& r, Widget* parent, int index);

protected:
    bool m_measureHidden;
    std::vector<Item> m_items;

private:
    /// Whether the item counts for measuring and layout.
    OKU_LOCAL bool isItemIncluded(const Item& item) const;
    OKU_LOCAL void doFitRectItem(const Rect& r, Widget* parent, Item& item);
};

} // namespace OKU

#endif
