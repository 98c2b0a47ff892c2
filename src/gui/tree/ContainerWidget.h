#ifndef OKU_GUI_TREE_CONTAINERWIDGET_H
#define OKU_GUI_TREE_CONTAINERWIDGET_H

#include <memory>

#include "gui/tree/Widget.h"

namespace OKU {

class Sizer;

/// A widget that lays out its children with a sizer inside its content
/// rectangle and takes its automatic minimum size from the sizer.
class ContainerWidget : public Widget {
public:
    explicit ContainerWidget(Widget* parent);
    ContainerWidget(Widget* parent, int x, int y, int w, int h);

    /// Space taken by decorations (a title bar, a frame) inside the widget.
    virtual void getContentOffsets(int& left, int& right, int& top, int& bottom) const;
    /// Nothing is laid out until the next runSizer().
    virtual void setSizer(const std::shared_ptr<Sizer>& s);
    virtual std::shared_ptr<Sizer> getSizer();
    virtual void runSizer();

    void onResizeCalled(const Size& oldSize) override;
    int getAutoMinWidth() const override;
    int getAutoMinHeight() const override;

    void setMargins(int m) { setMargins(m, m, m, m); }
    void setMargins(int left, int right, int top, int bottom);
    /// The widget minus content offsets and margins.
    Rect getContentRect() const;

protected:
    /// Left, right, top, bottom.
    int32_t m_margins[4];
    std::shared_ptr<Sizer> m_sizer;
};

} // namespace OKU

#endif
