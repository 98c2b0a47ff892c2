#ifndef OKU_GUI_WIDGETS_TABBEDFRAME_H
#define OKU_GUI_WIDGETS_TABBEDFRAME_H

#include <algorithm>
#include <cstdint>
#include <memory>
#include <sigc++/sigc++.h>
#include <vector>

#include "core/Visibility.h"
#include "graphics/Color.h"
#include "gui/tree/Widget.h"

namespace OKU {

class ContainerWidget;

/// Several pages in the same place with a row of tabs above them; only the
/// active tab's page is visible. Touching a tab activates it, holding it for
/// two seconds reports a long press. Tabs can be hidden (the active one too:
/// its page stays), highlighted, cloned (two tabs showing one page) and
/// deleted. When the row is wider than the frame the widest labels shrink
/// first. In a right-to-left layout the first tab is the rightmost.
///
/// The labels are declared in TabLabel.h.
class TabbedFrame : public Widget {
public:
    class Label;
    class TextLabel;

    /// One tab: its label, where it is drawn and the page it shows.
    struct TabInfo {
        std::shared_ptr<Label> label;
        /// In the frame's coordinates; empty while the tab is hidden.
        Rect rect;
        ContainerWidget* page;
        /// An earlier tab shows the same page.
        bool clone;
        bool highlighted;
        bool visible;
    };

    static const Color s_defaultFrameColor;
    static const Color s_defaultDisabledFrameColor;
    static const Color s_defaultShadowColor;
    static const Color s_defaultInactiveBgColor;
    static const Color s_defaultHighlightedBgColor;
    static const Color s_defaultActiveFgColor;
    static const Color s_defaultInactiveFgColor;
    static const Color s_defaultDisabledFgColor;
    /// For label classes that mark highlighted tabs in their text.
    static const Color s_defaultHighlightedFgColor;
    /// Background colours by nesting depth, outermost first; the theme fills
    /// the list, which must not be empty when a frame is built.
    static std::vector<Color> s_defaultBgColor;

    explicit TabbedFrame(Widget* parent);

    /// A new page (a child of the frame) under a text label.
    ContainerWidget* createTab(const LString& text);
    ContainerWidget* createTab(const std::shared_ptr<Label>& label);
    /// The page is normally a child of the frame.
    void createTab(const LString& text, ContainerWidget* page);
    void createTab(const std::shared_ptr<Label>& label, ContainerWidget* page);
    /// A further tab showing the page of tab index.
    void cloneTab(const LString& text, int index);
    void cloneTab(const std::shared_ptr<Label>& label, int index);
    /// The page goes with the tab unless another tab still shows it. An index
    /// outside the tabs is ignored.
    void deleteTab(int index);
    void setTabLabel(int index, const std::shared_ptr<Label>& label);
    /// Neither the active tab nor the pages change.
    void showTab(int index, bool on);
    void hideTab(int index) { showTab(index, false); }
    void highlightTab(int index, bool on);
    /// With notify, signalActiveTabChanged tells about a change.
    void setActiveTab(int index, bool notify);

    /// Every accessor and operation taking an index, except deleteTab, throws
    /// std::out_of_range for an index outside the tabs.
    int getActiveTab() const { return m_activeTab; }
    int getTabCount() const { return static_cast<int>(m_tabs.size()); }
    ContainerWidget* getTabWidget(int index) const { return m_tabs.at(index).page; }
    std::shared_ptr<Label> getTabLabel(int index) const { return m_tabs.at(index).label; }

    void setFrameColor(const Color& c)
    {
        m_frameColor = c;
        invalidate();
    }
    void setFrameShadowColor(const Color& c)
    {
        m_shadowColor = c;
        invalidate();
    }
    void setInactiveTabColor(const Color& c)
    {
        m_inactiveBgColor = c;
        invalidate();
    }
    void setHighlightedTabColor(const Color& c)
    {
        m_highlightedBgColor = c;
        invalidate();
    }

    /// Where the pages go: inside the frame's border below the tab row.
    Point getTabContainerPos() const { return Point(2, m_tabBarHeight + 1); }
    Size getTabContainerSize() const
    {
        return Size(std::max(0, m_width - 4), std::max(0, m_height - m_tabBarHeight - 3));
    }
    void updateContainers();
    /// Sizes and places the visible tabs, shrinking them to the frame's width.
    void updateTabInfo();
    /// Narrows the widest labels until the row fits into width.
    void autoShrinkTabWidths(int width);
    /// Clone flags from scratch: a tab is a clone when an earlier tab shows
    /// its page.
    void updateCloneInfo();
    /// False when two or more tabs show w.
    bool uniqueWidget(const Widget* w) const;
    void invalidateTabs();
    void l10nChanged();
    /// The background for the frame's nesting among frames and tabbed frames.
    void initBgColor();

    void setLayout(Layout l) override;
    void onResizeCalled(const Size& oldSize) override;
    void onMouseDown(int x, int y) override;
    void onMouseUp(int x, int y) override;
    void onMouseMove(int x, int y) override;
    void onTimeout(int id) override;
    /// One area per visible tab.
    std::vector<Rect> getFocusAreas() const override;
    void draw(Painter& p) override;
    int getAutoMinWidth() const override;
    int getAutoMinHeight() const override;
    /// Opaque inside the border below the tab row.
    bool isSolid(const Rect& r) const override;

    sigc::signal<void, int> signalActiveTabChanged;
    sigc::signal<void, int> signalTabLongPress;

private:
    static constexpr int c_longPressMs = 2000;

    /// The colours of one drawing, chosen by the enabled state.
    struct Palette;

    /// One tab and the piece of the baseline before it, which starts after
    /// edge, the previous tab's far side.
    OKU_LOCAL void drawTab(Painter& p, const Palette& colors, int index, int edge) const;
    /// The rest of the baseline, the page area, its border and shadow.
    OKU_LOCAL void drawPageFrame(Painter& p, const Palette& colors, int edge) const;

    Color m_frameColor = s_defaultFrameColor;
    Color m_shadowColor = s_defaultShadowColor;
    Color m_inactiveBgColor = s_defaultInactiveBgColor;
    Color m_highlightedBgColor = s_defaultHighlightedBgColor;
    std::vector<TabInfo> m_tabs;
    int32_t m_activeTab = 0;
    int32_t m_tabBarHeight = 0;
    int32_t m_pressedTab = -1;
    int32_t m_longPressTimer = -1;
};

} // namespace OKU

#endif
