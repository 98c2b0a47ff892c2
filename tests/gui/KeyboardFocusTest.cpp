#include <map>
#include <string>
#include <vector>

#include "gui/TestRootWidget.h"
#include "gui/widgets/ButtonBase.h"
#include "gui/widgets/TabbedFrame.h"
#include "gui/widgets/ToggleButtonBase.h"
#include "gui/windows/Screen.h"
#include "text/LString.h"

using namespace OKU;

namespace {

// A page of named buttons on a 400 x 300 root:
//   A B C     (B a little lower, still in the row)
//   D   G     (G a toggle; E hidden and F disabled beside them)
// and X on the root beneath the page, out of reach.
class FocusPage {
public:
    explicit FocusPage(Layout layout)
    {
        add(&m_root, "X", Rect(10, 10, 80, 40));
        m_page = new Screen(&m_root);
        m_page->setLayout(layout);
        add(m_page, "A", Rect(10, 10, 80, 40));
        add(m_page, "B", Rect(110, 20, 80, 40));
        add(m_page, "C", Rect(210, 10, 80, 40));
        add(m_page, "D", Rect(10, 100, 180, 40));
        add(m_page, "E", Rect(300, 100, 80, 40))->hide();
        add(m_page, "F", Rect(300, 200, 80, 40))->disable();
        m_widgets["G"] = new ToggleButtonBase(m_page, false, false);
        m_widgets["G"]->setGeometry(210, 100, 80, 40);
        m_root.runPending();
    }

    std::string focused()
    {
        for (const auto& named : m_widgets)
            if (named.second == m_root.getKeyboardFocus().getFocus().widget)
                return named.first;
        return "none";
    }

    // The focus ring's colour at the top left corner of the button's ring.
    bool ringOn(const std::string& name) const
    {
        const Rect r = m_widgets.at(name)->getRectAbs();
        const Theme* theme = Theme::g();
        const Pixmap::Pixel p = m_root.pixel(r.x + theme->getSettings().focusRingInset + 1,
                                             r.y + theme->getSettings().focusRingInset + 1);
        const Color& c = theme->getSettings().focusRingColor;
        return p == rgb(c.red, c.green, c.blue);
    }

    TestRootWidget m_root{400, 300};
    Screen* m_page;
    std::map<std::string, Widget*> m_widgets;
    std::map<std::string, int> m_clicks;

private:
    Widget* add(Widget* parent, const std::string& name, const Rect& r)
    {
        auto* button = new ButtonBase(parent);
        button->setGeometry(r.x, r.y, r.width, r.height);
        button->signalClicked.connect([this, name] { ++m_clicks[name]; });
        m_widgets[name] = button;
        return button;
    }
};

const KeyCode tab = KEY_FOCUS_NEXT, back = KEY_FOCUS_PREVIOUS, left = KEY_ARROW_LEFT,
              right = KEY_ARROW_RIGHT, up = KEY_ARROW_UP, down = KEY_ARROW_DOWN;

} // namespace

// The first key only shows where the focus is; a right-to-left page is the
// mirror image, so Tab keeps the order and the arrows swap left and right.
TEST(KeyboardFocusTest, FocusGoesInReadingOrderAndArrowsToTheNearestWidget)
{
    const struct {
        Layout layout;
        std::vector<KeyCode> keys;
        std::vector<std::string> focus;
    } cases[] = {
        {Layout::LTR, {tab, tab, tab, tab, tab, tab, tab}, {"A", "B", "C", "D", "G", "A", "B"}},
        {Layout::RTL, {tab, tab, tab, tab, tab}, {"A", "B", "C", "D", "G"}},
        {Layout::LTR, {back, back, back, back}, {"A", "G", "D", "C"}},
        {Layout::LTR, {right, right, right, down, left, up, up}, {"A", "B", "C", "G", "D", "B", "B"}},
        {Layout::RTL, {right, left, left, right, right, down}, {"A", "B", "C", "B", "A", "D"}},
        {Layout::RTL, {right, right, down, left}, {"A", "A", "D", "G"}},
    };
    for (const auto& c : cases) {
        FocusPage page(c.layout);
        for (size_t i = 0; i < c.keys.size(); ++i) {
            page.m_root.key(c.keys[i]);
            EXPECT_EQ(c.focus[i], page.focused()) << "case " << &c - cases << " key " << i;
        }
    }
}

// Touch users never see the ring: it needs a focus key (the answering keys
// do not count), a finger hides it again, and the key that brings it back
// acts on nothing.
TEST(KeyboardFocusTest, RingShowsAfterAFocusKeyUntilAFingerTouches)
{
    FocusPage page(Layout::LTR);
    page.m_root.key(KEY_CONFIRM);
    page.m_root.key(KEY_CANCEL);
    EXPECT_FALSE(page.ringOn("A"));
    page.m_root.key(KEY_ACTIVATE_DOWN);
    page.m_root.key(KEY_ACTIVATE_UP);
    EXPECT_EQ(std::make_pair(true, 0), std::make_pair(page.ringOn("A"), page.m_clicks["A"]));

    page.m_root.key(tab);
    EXPECT_EQ(std::make_pair(false, true), std::make_pair(page.ringOn("A"), page.ringOn("B")));
    page.m_root.injectMouseEvent(350, 280, true);
    page.m_root.injectMouseEvent(350, 280, false);
    page.m_root.runPending();
    EXPECT_FALSE(page.ringOn("B"));

    // A press that lost its release is let go without a click.
    for (KeyCode k : {tab, KEY_ACTIVATE_DOWN, KEY_ACTIVATE_DOWN, KEY_ACTIVATE_UP})
        page.m_root.key(k);
    EXPECT_EQ(std::make_pair(true, 1), std::make_pair(page.ringOn("B"), page.m_clicks["B"]));
    // Enter on the toggle flips it, like a finger.
    for (KeyCode k : {down, right, KEY_ACTIVATE_DOWN, KEY_ACTIVATE_UP})
        page.m_root.key(k);
    EXPECT_TRUE(dynamic_cast<ToggleButtonBase*>(page.m_widgets["G"])->isChecked());
}

// The focus passes on to the first widget that can take it; the one that
// lost it is left without a ring, and one deleted while pressed by the key is
// not released.
TEST(KeyboardFocusTest, FocusLeavesWidgetsThatGoAwayHideOrAreDisabled)
{
    FocusPage page(Layout::LTR);
    page.m_root.key(tab);
    page.m_root.key(tab);
    page.m_root.key(KEY_ACTIVATE_DOWN);
    const struct { std::string widget; void (*change)(Widget*); std::string focus; } cases[] = {
        {"B", [](Widget* w) { w->destroy(); }, "A"},
        {"A", [](Widget* w) { w->hide(); }, "C"},
        {"C", [](Widget* w) { w->disable(); }, "D"},
        {"D", [](Widget* w) { w->getParent()->destroy(); }, "X"},
    };
    for (const auto& c : cases) {
        Widget* w = page.m_widgets[c.widget];
        c.change(w);
        page.m_root.runPending();
        if (c.widget == "B" || c.widget == "D")
            page.m_widgets.erase(c.widget);
        else
            EXPECT_EQ(-1, w->getFocusRing()) << c.widget;
        EXPECT_EQ(std::make_pair(c.focus, true),
                  std::make_pair(page.focused(), page.ringOn(c.focus)))
            << c.widget;
    }
    page.m_root.key(KEY_ACTIVATE_UP);
    EXPECT_EQ(0, page.m_clicks["X"]);
}

// Each visible tab is a stop of its own, and Enter on one shows its page.
TEST(KeyboardFocusTest, VisibleTabsTakeTheFocusOneByOne)
{
    TestRootWidget root(400, 300);
    auto* frame = new TabbedFrame(&root);
    frame->setGeometry(0, 0, 400, 300);
    for (const wchar_t* title : {L"One", L"Two", L"Three"})
        frame->createTab(LString(LString1(title)));
    frame->hideTab(1);
    root.runPending();
    for (KeyCode k : {tab, tab, KEY_ACTIVATE_DOWN, KEY_ACTIVATE_UP})
        root.key(k);
    EXPECT_EQ(std::make_pair(1, 2), std::make_pair(frame->getFocusRing(), frame->getActiveTab()));
}

// Enter answers what the screen shows. Typed before a new page reached the
// screen it does nothing there; typed while the page's frame is still being
// written (a slow framebuffer shows it part by part, its ring already out)
// it presses the focused button.
TEST(KeyboardFocusTest, EnterActsOnAPageOnceAnyOfItWasShown)
{
    FocusPage page(Layout::LTR);
    page.m_root.key(tab);
    int clicks = 0;
    const auto openDialog = [&page, &clicks] {
        auto* dialog = new Screen(&page.m_root);
        auto* button = new ButtonBase(dialog);
        button->setGeometry(100, 100, 80, 40);
        button->signalClicked.connect([&clicks] { ++clicks; });
    };
    page.m_root.injectFunction(nullptr, openDialog);
    page.m_root.injectKeyEvent(KEY_ACTIVATE_DOWN, 0);
    page.m_root.injectKeyEvent(KEY_ACTIVATE_UP, 0);
    page.m_root.runPending();
    EXPECT_EQ(std::make_pair(0, 0), std::make_pair(clicks, page.m_clicks["A"]));

    bool typed = false;
    page.m_root.screen().whileShowing = [&page, &typed] {
        if (typed)
            return;
        typed = true;
        page.m_root.injectKeyEvent(KEY_ACTIVATE_DOWN, 0);
        page.m_root.injectKeyEvent(KEY_ACTIVATE_UP, 0);
    };
    page.m_root.injectFunction(nullptr, openDialog);
    page.m_root.runPending();
    EXPECT_EQ(std::make_pair(true, 1), std::make_pair(typed, clicks));
}
