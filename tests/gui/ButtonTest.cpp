#include <tuple>

#include "gui/TestRootWidget.h"
#include "gui/widgets/Button.h"
#include "gui/widgets/CheckBox.h"
#include "text/Font.h"

using namespace OKU;

namespace {

const Color c_white(255, 255, 255);

// A white 200 x 100 screen with a button at (50, 30, 100, 40).
class ButtonRoot : public TestRootWidget {
public:
    ButtonRoot() : TestRootWidget(200, 100)
    {
        setBgColor(c_white);
        m_button = new Button(this, LString(L"OK"), nullptr, WidgetPainter::PP_LEFT_OF_TEXT,
                              HAlign::CENTER, VAlign::CENTER);
        m_button->setGeometry(50, 30, 100, 40);
        for (auto signal : {std::make_pair(&m_button->signalPressed, "pressed"),
                            std::make_pair(&m_button->signalReleased, "released"),
                            std::make_pair(&m_button->signalClicked, "clicked")})
            signal.first->connect([this, name = signal.second] { m_log.push_back(name); });
        runPending();
    }

    // Runs the loop, timers included, until the log has n entries.
    void waitForLog(size_t n)
    {
        for (int events = 0; m_log.size() < n && !m_timerHeap.empty() && events < 100; ++events)
            processEvent(true);
        ASSERT_EQ(n, m_log.size());
    }

    Button* m_button;
    Log m_log;
};

const Touch c_pressInside{60, 40, true};
const Touch c_releaseInside{60, 40, false};

// Whether the area of the screen equals white with only paint() drawn on it.
bool shows(const ButtonRoot& root, const Rect& area, const std::function<void(Pixmap&)>& paint)
{
    Pixmap expected(200, 100, c_white);
    paint(expected);
    return sameIn(expected, root.getPixmapCopy(), area);
}

} // namespace

TEST(ButtonTest, GesturesGiveOneClickOnlyForAReleaseOnTheButton)
{
    const struct { const char* name; std::vector<Touch> touches; Log expected; } cases[] = {
        {"tap", {c_pressInside, c_releaseInside}, {"pressed", "released", "clicked"}},
        {"drag off", {c_pressInside, {10, 10, true}, {10, 10, false}}, {"pressed", "released"}},
        {"release off", {c_pressInside, {10, 10, false}}, {"pressed", "released"}},
        {"drag off and back",
         {c_pressInside, {10, 10, true}, {140, 60, true}, {140, 60, false}},
         {"pressed", "released", "pressed", "released", "clicked"}},
    };
    for (const auto& c : cases) {
        ButtonRoot root;
        root.touch(c.touches);
        EXPECT_EQ(std::make_pair(c.expected, false),
                  std::make_pair(root.m_log, root.m_button->isDown()))
            << c.name;
    }
}

TEST(ButtonTest, HoldingASecondGivesALongClickInsteadOfAClickOnlyWhenSomebodyListens)
{
    ButtonRoot root;
    root.touch({c_pressInside});
    EXPECT_TRUE(root.m_timerHeap.empty());
    root.touch({c_releaseInside});
    root.m_log.clear();
    root.m_button->signalLongClick.connect([&root] { root.m_log.push_back("long"); });
    const uint64_t start = monotonicMicroseconds();
    root.touch({c_pressInside});
    root.waitForLog(2);
    EXPECT_GE(monotonicMicroseconds() - start, 1000000u);
    root.touch({c_releaseInside});
    EXPECT_EQ((Log{"pressed", "long", "released"}), root.m_log);
    EXPECT_TRUE(root.m_timerHeap.empty());
}

TEST(ButtonTest, AutoRepeatStartsAtThePressAndFollowsDelayAndInterval)
{
    const struct { int delay, interval; std::vector<uint64_t> earliest; } cases[] = {
        {500, 200, {0, 500, 700, 900}}, {300, 0, {0, 300, 600, 900}}, {-1, 100, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.delay);
        ButtonRoot root;
        std::vector<uint64_t> times;
        const uint64_t start = monotonicMicroseconds();
        root.m_button->setRepeat(c.delay, c.interval);
        root.m_button->signalRepeat.connect([&] {
            EXPECT_TRUE(root.m_button->isInRepeat());
            times.push_back(monotonicMicroseconds() - start);
            root.m_log.push_back("repeat");
        });
        root.touch({c_pressInside});
        if (c.earliest.empty()) {
            EXPECT_TRUE(root.m_timerHeap.empty());
            continue;
        }
        root.waitForLog(1 + c.earliest.size());
        for (size_t n = 0; n < times.size(); ++n)
            EXPECT_GE(times[n], 1000 * c.earliest[n]) << "repeat " << n;

        // Leaving stops the repeat; coming back restarts it without an
        // immediate repeat.
        root.touch({{10, 10, true}});
        EXPECT_TRUE(root.m_timerHeap.empty());
        root.touch({{60, 40, true}});
        EXPECT_EQ(1u, root.m_timerHeap.size());
        root.touch({c_releaseInside});
        EXPECT_TRUE(root.m_timerHeap.empty());
        EXPECT_EQ(c.earliest.size(), times.size());
    }
}

TEST(ButtonTest, EachStateShowsItsLookAndADisabledButtonEmitsNothing)
{
    const CompositePixmapSet looks = testTheme()->getPushButton();
    const struct {
        const char* name;
        bool disableBefore;
        std::vector<Touch> touches;
        bool disableAfter;
        CompositePixmapSet::Pointer look;
        Log expectedLog;
    } cases[] = {
        {"up", false, {}, false, looks.getUp(), {}},
        {"pressed", false, {c_pressInside}, false, looks.getDown(), {"pressed"}},
        {"disabled", true, {c_pressInside, c_releaseInside}, false, looks.getUpDisabled(), {}},
        {"disabled while pressed", false, {c_pressInside}, true, looks.getDownDisabled(),
         {"pressed"}},
    };
    for (const auto& c : cases) {
        ButtonRoot root;
        root.m_button->setText(LString());
        root.m_button->enable(!c.disableBefore);
        root.touch(c.touches);
        if (c.disableAfter)
            root.m_button->disable();
        root.runPending();
        EXPECT_EQ(c.expectedLog, root.m_log) << c.name;
        const auto drawn = [&root](const CompositePixmapSet::Pointer& look) {
            return shows(root, Rect(40, 20, 120, 60),
                         [&look](Pixmap& p) { p.drawCompositePixmap(50, 30, 100, 40, *look); });
        };
        EXPECT_TRUE(drawn(c.look)) << c.name;
        EXPECT_EQ(c.look == looks.getUp(), drawn(looks.getUp())) << c.name;
    }
}

TEST(ButtonTest, CheckBoxTogglesOnReleaseUnlessStickyAndChecked)
{
    const struct {
        bool sticky, checked;
        std::vector<Touch> touches;
        bool checkedAfter;
        int toggles;
    } cases[] = {
        {false, false, {c_pressInside, c_releaseInside}, true, 1},
        {false, true, {c_pressInside, c_releaseInside}, false, 1},
        {false, false, {c_pressInside, {10, 10, true}, {10, 10, false}}, false, 0},
        {true, true, {c_pressInside, c_releaseInside}, true, 0},
        {true, false, {c_pressInside, c_releaseInside}, true, 1},
    };
    for (const auto& c : cases) {
        ButtonRoot root;
        CheckBox* box = new CheckBox(&root, LString(L"Sound"), c.checked, HAlign::LEFT);
        box->setGeometry(50, 30, 100, 40);
        box->setSticky(c.sticky);
        int toggles = 0;
        box->signalToggled.connect([&toggles] { ++toggles; });
        root.runPending();
        root.touch({c.touches.front()});
        EXPECT_EQ(!(c.sticky && c.checked), box->isDown());
        root.touch(std::vector<Touch>(c.touches.begin() + 1, c.touches.end()));
        EXPECT_EQ(std::make_pair(c.checkedAfter, c.toggles),
                  std::make_pair(box->isChecked(), toggles));

        // Only setChecked unchecks a sticky box, silently unless asked.
        box->setSticky(true);
        box->setChecked(false, false);
        box->setChecked(true, true);
        EXPECT_EQ(c.toggles + 1, toggles);
    }
}

TEST(ButtonTest, CheckBoxSideAndLabelFollowAlignmentAndDirection)
{
    const struct {
        HAlign align;
        Layout layout;
        const wchar_t* text;
        bool checked, leftie;
        std::wstring fullText;
    } cases[] = {
        {HAlign::LEFT, Layout::LTR, L"Sound", true, true, L"Sound"},
        {HAlign::RIGHT, Layout::LTR, L"Volume", false, false, L"Volume:"},
        {HAlign::RIGHT, Layout::RTL, L"Volume", true, true, L"Volume:"},
        {HAlign::LEFT, Layout::RTL, L"Sound", false, false, L"Sound"},
        {HAlign::RIGHT, Layout::LTR, L"", false, false, L""},
        // Automatic layout follows the box's own text, whatever the language.
        {HAlign::LEFT, Layout::AUTO, L"\x05E7\x05D5\x05DC", true, false, L"\x05E7\x05D5\x05DC"},
        {HAlign::RIGHT, Layout::AUTO, L"\x05E7\x05D5\x05DC", false, true, L"\x05E7\x05D5\x05DC:"},
        {HAlign::LEFT, Layout::AUTO, L"Sound", false, true, L"Sound"},
    };
    Theme* theme = testTheme();
    const std::shared_ptr<const Font> font = theme->getStandardFont(theme->getSettings().textFontSize);
    for (const auto& c : cases) {
        const std::shared_ptr<const Pixmap> picture =
            theme->getCache().getPixmap(c.checked ? "check_box/checked" : "check_box/unchecked");
        ButtonRoot root;
        root.m_button->hide();
        CheckBox* box = new CheckBox(&root, LString(c.text), c.checked, c.align);
        box->setLayout(c.layout);
        box->setGeometry(50, 30, 100, 40);
        root.runPending();
        const int spacing = c.fullText.empty() ? 0 : 5;
        EXPECT_EQ(std::make_tuple(
                      c.leftie, c.fullText,
                      picture->getWidth() + spacing + font->getStringWidth(c.fullText),
                      std::max(font->getAscender() + font->getDescender(), picture->getHeight())),
                  std::make_tuple(box->isLeftie(), box->getFullText(), box->getAutoMinWidth(),
                                  box->getAutoMinHeight()));

        const Point at(c.leftie ? 50 : 150 - picture->getWidth(),
                       30 + (40 - picture->getHeight()) / 2);
        EXPECT_TRUE(shows(root, Rect(at.x, 30, picture->getWidth(), 40),
                          [&](Pixmap& p) { p.drawPixmap(at.x, at.y, *picture); }));
    }
}

TEST(ButtonTest, ThemeButtonsCarryTheirLabelIconAndTheButtonHeight)
{
    Theme* theme = testTheme();
    const struct { std::function<Button*(Widget*)> create; const wchar_t* label; const char* icon; }
        cases[] = {
        {[theme](Widget* p) { return theme->createOkButton(p); }, L"OK", "ok"},
        {[theme](Widget* p) { return theme->createPrevButton(p, true); }, L"Previous", "prev"},
        {[theme](Widget* p) { return theme->createPrevButton(p, false); }, L"Previous", "next"},
        {[theme](Widget* p) { return theme->createNextButton(p, true); }, L"Next", "next"},
        {[theme](Widget* p) { return theme->createNextButton(p, false); }, L"Next", "prev"},
    };
    TestRootWidget root;
    for (const auto& c : cases) {
        Button* button = c.create(&root);
        EXPECT_EQ(std::make_tuple(std::wstring(c.label), true, theme->getCache().getPixmap(c.icon),
                                  WidgetPainter::PP_LEFT_OF_TEXT, theme->getSettings().buttonHeight),
                  std::make_tuple(button->getText().orig(), button->getText().isTranslatable(),
                                  button->getPixmap(), button->getPixmapPosition(),
                                  button->getMinHeight()))
            << c.icon;
        EXPECT_EQ(button->getMaxOuterMargins(), button->getRedrawMargins());
    }
}
