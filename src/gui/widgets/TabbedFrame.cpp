#include "gui/widgets/TabbedFrame.h"

#include <algorithm>

#include "graphics/Painter.h"
#include "gui/tree/ContainerWidget.h"
#include "gui/widgets/Frame.h"
#include "gui/widgets/TabLabel.h"
#include "gui/widgets/detail/FrameNesting.h"
#include "text/L10n.h"

namespace OKU {

const Color TabbedFrame::s_defaultFrameColor(96, 96, 96, 255);
const Color TabbedFrame::s_defaultDisabledFrameColor(128, 128, 128, 255);
const Color TabbedFrame::s_defaultShadowColor(0, 0, 0, 32);
const Color TabbedFrame::s_defaultInactiveBgColor(160, 160, 160, 255);
const Color TabbedFrame::s_defaultHighlightedBgColor(224, 128, 128, 255);
const Color TabbedFrame::s_defaultActiveFgColor(0, 0, 0, 255);
const Color TabbedFrame::s_defaultInactiveFgColor(0, 0, 0, 255);
const Color TabbedFrame::s_defaultDisabledFgColor(128, 128, 128, 255);
const Color TabbedFrame::s_defaultHighlightedFgColor(0, 0, 0, 255);
std::vector<Color> TabbedFrame::s_defaultBgColor;

struct TabbedFrame::Palette {
    Color frame;
    Color shadow;
    Color background;
};

namespace {

// Horizontal space a tab takes in the row besides its label: two pixels of
// border on each side and ten pixels to the next tab.
const int c_tabBorder = 4;
const int c_tabSpacing = 10;
const int c_tabStep = c_tabBorder + c_tabSpacing;

} // namespace

TabbedFrame::TabbedFrame(Widget* parent) : Widget(parent)
{
    setRedrawMargins(Margins(0, 0, 2, 2));
    initBgColor();
    l10nLanguageSignal.connect(sigc::mem_fun(*this, &TabbedFrame::l10nChanged));
}

ContainerWidget* TabbedFrame::createTab(const LString& text)
{
    return createTab(std::make_shared<TextLabel>(this, text));
}

ContainerWidget* TabbedFrame::createTab(const std::shared_ptr<Label>& label)
{
    ContainerWidget* page = new ContainerWidget(this);
    createTab(label, page);
    return page;
}

void TabbedFrame::createTab(const LString& text, ContainerWidget* page)
{
    createTab(std::make_shared<TextLabel>(this, text), page);
}

void TabbedFrame::createTab(const std::shared_ptr<Label>& label, ContainerWidget* page)
{
    // The first tab is active until told otherwise, so only its page shows.
    if (!m_tabs.empty())
        page->hide();
    m_tabs.push_back(TabInfo{label, Rect(), page, false, false, true});
    updateTabInfo();
    invalidateTabs();
    updateContainers();
    m_pressedTab = -1;
}

void TabbedFrame::cloneTab(const LString& text, int index)
{
    cloneTab(std::make_shared<TextLabel>(this, text), index);
}

void TabbedFrame::cloneTab(const std::shared_ptr<Label>& label, int index)
{
    const TabInfo& original = m_tabs.at(index);
    m_tabs.push_back(TabInfo{label, Rect(), original.page, true, original.highlighted, true});
    updateTabInfo();
    invalidateTabs();
    m_pressedTab = -1;
}

void TabbedFrame::deleteTab(int index)
{
    if (index < 0 || index >= getTabCount())
        return;
    ContainerWidget* page = m_tabs[index].page;
    if (uniqueWidget(page))
        page->destroy();
    m_tabs.erase(m_tabs.begin() + index);
    if (!m_tabs.empty()) {
        const bool wasActive = index == m_activeTab;
        if (index < m_activeTab || (wasActive && index == getTabCount()))
            --m_activeTab;
        if (wasActive) {
            ContainerWidget* shown = m_tabs[m_activeTab].page;
            // A clone may keep the old page alive; it must not stay on view
            // beside the new one.
            if (page != shown)
                page->hide();
            shown->show(true);
        }
    }
    updateCloneInfo();
    updateTabInfo();
    invalidateTabs();
    m_pressedTab = -1;
}

void TabbedFrame::setTabLabel(int index, const std::shared_ptr<Label>& label)
{
    m_tabs.at(index).label = label;
    updateTabInfo();
    invalidateTabs();
}

void TabbedFrame::showTab(int index, bool on)
{
    m_tabs.at(index).visible = on;
    updateTabInfo();
    invalidateTabs();
}

void TabbedFrame::highlightTab(int index, bool on)
{
    TabInfo& tab = m_tabs.at(index);
    tab.highlighted = on;
    invalidate(tab.rect);
}

void TabbedFrame::setActiveTab(int index, bool notify)
{
    if (index == m_activeTab)
        return;
    ContainerWidget* page = m_tabs.at(index).page;
    ContainerWidget* oldPage = m_tabs.at(m_activeTab).page;
    if (page != oldPage) {
        oldPage->hide();
        page->show(true);
    }
    m_activeTab = index;
    invalidateTabs();
    if (notify)
        signalActiveTabChanged.emit(index);
}

void TabbedFrame::updateContainers()
{
    const Point pos = getTabContainerPos();
    const Size size = getTabContainerSize();
    for (const TabInfo& tab : m_tabs) {
        if (!tab.clone)
            tab.page->setGeometry(pos.x, pos.y, size.width, size.height);
    }
}

void TabbedFrame::updateTabInfo()
{
    // The rectangles hold the label sizes until the tabs are placed.
    int labelHeight = 0;
    for (TabInfo& tab : m_tabs) {
        if (tab.visible) {
            const Size size = tab.label->getMinSize();
            tab.rect = Rect(0, 0, size.width, size.height);
            labelHeight = std::max(labelHeight, size.height);
        } else {
            tab.rect = Rect();
        }
    }
    m_tabBarHeight = labelHeight + 2;
    if (m_width > 0)
        autoShrinkTabWidths(m_width);

    const bool ltr = isLTR();
    int cursor = ltr ? c_tabSpacing : m_width - c_tabSpacing;
    for (TabInfo& tab : m_tabs) {
        if (!tab.visible)
            continue;
        const int width = tab.rect.width + c_tabBorder;
        tab.rect = Rect(ltr ? cursor : cursor - width, 0, width, m_tabBarHeight);
        cursor += ltr ? width + c_tabSpacing : -(width + c_tabSpacing);
    }
}

void TabbedFrame::autoShrinkTabWidths(int width)
{
    for (;;) {
        // Every tab counts for its spacing, a hidden one too.
        int needed = c_tabStep * getTabCount();
        int largest = 0;
        for (const TabInfo& tab : m_tabs) {
            if (tab.visible) {
                needed += tab.rect.width;
                largest = std::max(largest, tab.rect.width);
            }
        }
        const int excess = needed - width;
        int widest = 0;
        int secondLargest = 0;
        for (const TabInfo& tab : m_tabs) {
            if (!tab.visible)
                continue;
            if (tab.rect.width == largest)
                ++widest;
            else
                secondLargest = std::max(secondLargest, tab.rect.width);
        }
        if (excess <= 0 || widest == 0)
            return;
        const int narrowed = std::max(0, (widest * largest - excess) / widest);
        const bool fits = narrowed >= secondLargest;
        for (TabInfo& tab : m_tabs) {
            if (tab.visible && tab.rect.width == largest)
                tab.rect.width = fits ? narrowed : secondLargest;
        }
        if (fits)
            return;
    }
}

void TabbedFrame::updateCloneInfo()
{
    for (auto tab = m_tabs.begin(); tab != m_tabs.end(); ++tab) {
        tab->clone = std::any_of(m_tabs.begin(), tab, [&tab](const TabInfo& earlier) {
            return earlier.page == tab->page;
        });
    }
}

bool TabbedFrame::uniqueWidget(const Widget* w) const
{
    return std::count_if(m_tabs.begin(), m_tabs.end(),
                         [w](const TabInfo& tab) { return tab.page == w; }) < 2;
}

void TabbedFrame::invalidateTabs()
{
    invalidate(Rect(0, 0, m_width, m_tabBarHeight));
}

void TabbedFrame::l10nChanged()
{
    updateTabInfo();
    invalidateTabs();
    updateContainers();
}

void TabbedFrame::setLayout(Layout l)
{
    Widget::setLayout(l);
    l10nChanged();
}

void TabbedFrame::initBgColor()
{
    setBgColor(nestedFrameBgColor(getParent(), s_defaultBgColor, "TabbedFrame"));
}

void TabbedFrame::onResizeCalled(const Size& oldSize)
{
    if (getSize() != oldSize)
        updateTabInfo();
    const Size size = getTabContainerSize();
    for (const TabInfo& tab : m_tabs) {
        if (!tab.clone)
            tab.page->resize(size.width, size.height);
    }
    Widget::onResizeCalled(oldSize);
}

void TabbedFrame::onMouseDown(int x, int y)
{
    m_pressedTab = -1;
    if (m_longPressTimer != -1) {
        killTimeout(m_longPressTimer);
        m_longPressTimer = -1;
    }
    for (int i = 0; i < getTabCount(); ++i) {
        if (m_tabs[i].visible && m_tabs[i].rect.contains(Point(x, y))) {
            m_pressedTab = i;
            m_longPressTimer = addTimeout(c_longPressMs);
            setActiveTab(i, true);
            return;
        }
    }
}

void TabbedFrame::onMouseUp(int, int)
{
    m_pressedTab = -1;
}

void TabbedFrame::onMouseMove(int x, int y)
{
    if (m_pressedTab != -1 && !m_tabs[m_pressedTab].rect.contains(Point(x, y)))
        m_pressedTab = -1;
}

void TabbedFrame::onTimeout(int id)
{
    if (id != m_longPressTimer)
        return;
    killTimeout(m_longPressTimer);
    m_longPressTimer = -1;
    if (m_pressedTab != -1) {
        signalTabLongPress.emit(m_pressedTab);
        m_pressedTab = -1;
    }
}

std::vector<Rect> TabbedFrame::getFocusAreas() const
{
    std::vector<Rect> areas;
    for (const TabInfo& tab : m_tabs) {
        if (tab.visible)
            areas.push_back(tab.rect);
    }
    return areas;
}

int TabbedFrame::getAutoMinWidth() const
{
    if (m_tabs.empty())
        return 10;
    int pageWidth = 0;
    int rowWidth = c_tabSpacing;
    for (const TabInfo& tab : m_tabs) {
        if (tab.clone)
            continue;
        pageWidth = std::max(pageWidth, tab.page->getMinWidth());
        if (tab.visible)
            rowWidth += tab.label->getMinSize().width + c_tabStep;
    }
    return std::max(pageWidth + c_tabBorder, rowWidth);
}

int TabbedFrame::getAutoMinHeight() const
{
    int pageHeight = 0;
    for (const TabInfo& tab : m_tabs) {
        if (!tab.clone)
            pageHeight = std::max(pageHeight, tab.page->getMinHeight());
    }
    return pageHeight + m_tabBarHeight + 3;
}

bool TabbedFrame::isSolid(const Rect& r) const
{
    return getBgColor().alpha == 255 &&
           Rect(1, m_tabBarHeight, m_width - 2, m_height - m_tabBarHeight - 1).contains(r);
}

void TabbedFrame::draw(Painter& p)
{
    const Palette colors{isEnabled() ? m_frameColor : s_defaultDisabledFrameColor, m_shadowColor,
                         getBgColor()};
    const bool ltr = isLTR();
    int edge = ltr ? 0 : m_width - 1;
    for (int i = 0; i < getTabCount(); ++i) {
        const TabInfo& tab = m_tabs[i];
        if (!tab.visible)
            continue;
        drawTab(p, colors, i, edge);
        edge = ltr ? tab.rect.right() - 1 : tab.rect.x;
    }
    drawPageFrame(p, colors, edge);
}

void TabbedFrame::drawTab(Painter& p, const Palette& colors, int index, int edge) const
{
    const TabInfo& tab = m_tabs[index];
    const bool active = index == m_activeTab;
    const Color& fill = active            ? colors.background
                        : tab.highlighted ? m_highlightedBgColor
                                          : m_inactiveBgColor;
    const int x = tab.rect.x;
    const int w = tab.rect.width;
    const int h = m_tabBarHeight;
    const Color& frame = colors.frame;
    const Color& shadow = colors.shadow;

    if (isLTR())
        p.drawLine(edge + 1, h - 1, x - 1, h - 1, frame);
    else
        p.drawLine(x + w, h - 1, edge - 1, h - 1, frame);
    p.drawLine(x, 2, x, h - 2, frame);
    p.drawLine(x + w - 1, 2, x + w - 1, h - 2, frame);
    // Rounded top corners: the frame colour inside, the shadow just outside.
    p.drawPixel(x + 1, 1, frame);
    p.drawPixel(x, 1, shadow);
    p.drawPixel(x + 1, 0, shadow);
    p.drawPixel(x + w - 2, 1, frame);
    p.drawPixel(x + w - 1, 1, shadow);
    p.drawPixel(x + w - 2, 2, shadow);
    p.drawLine(x + 1, 2, x + 1, h - 2, fill);
    p.drawLine(x + w - 2, 2, x + w - 2, h - 2, fill);
    if (active) {
        p.drawLine(x + w, 3, x + w, h - 2, shadow);
        p.drawLine(x + w + 1, 4, x + w + 1, h - 2, shadow);
    }
    p.drawLine(x + 2, 0, x + w - 3, 0, frame);
    // The active tab opens into the page below it.
    p.drawLine(x, h - 1, x + w - 1, h - 1, active ? colors.background : frame);
    p.drawSolidRect(x + 2, 1, w - 4, h - 2, fill);

    const Label::State state = !isEnabled() ? Label::DISABLED
                               : active     ? Label::ACTIVE
                                            : Label::INACTIVE;
    tab.label->draw(p, Rect(x + 2, 1, w - 4, h - 2), state, tab.highlighted);
}

void TabbedFrame::drawPageFrame(Painter& p, const Palette& colors, int edge) const
{
    const int w = m_width;
    const int ht = m_height;
    const int h = m_tabBarHeight;
    const Color& frame = colors.frame;
    const Color& shadow = colors.shadow;

    if (isLTR())
        p.drawLine(edge + 1, h - 1, w - 2, h - 1, frame);
    else
        p.drawLine(1, h - 1, edge - 1, h - 1, frame);
    p.drawSolidRect(1, h, w - 2, ht - h - 1, colors.background);
    p.drawLine(0, h, 0, ht - 2, frame);
    p.drawLine(w - 1, h, w - 1, ht - 2, frame);
    p.drawLine(1, ht - 1, w - 2, ht - 1, frame);
    p.drawPixel(0, h - 1, shadow);
    p.drawPixel(0, ht - 1, shadow);
    p.drawPixel(w - 1, h - 1, shadow);
    p.drawPixel(w - 1, ht - 1, shadow);

    p.drawLine(w, h + 1, w, ht - 1, shadow);
    p.drawLine(w + 1, h + 2, w + 1, ht - 1, shadow);
    p.drawLine(2, ht, w + 1, ht, shadow);
    p.drawLine(3, ht + 1, w, ht + 1, shadow);
    // Once more, so that the blended corner comes out darker.
    p.drawPixel(w - 1, ht - 1, shadow);
}

} // namespace OKU
