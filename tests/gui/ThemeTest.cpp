#include <tuple>

#include "core/TempDir.h"
#include "gui/TestRootWidget.h"
#include "gui/widgets/Button.h"

using namespace OKU;

TEST(ThemeDeathTest, SingleInstance)
{
    expectFatalError([] { Theme::g(); }, "OKU::Theme::initGlobal not called");
    expectFatalError(
        [] {
            testTheme();
            Theme::initGlobal(FileFinder(""));
        },
        "OKU::Theme created twice");
}

TEST(ThemeTest, StandardLook)
{
    Theme* theme = testTheme();
    EXPECT_EQ(std::make_tuple(theme->getSettings().textFontSize, theme->getSettings().buttonHeight),
              std::make_tuple(16, 40));
    // Each set with the name prefix of its up and of its down looks.
    const std::tuple<CompositePixmapSet, std::string, std::string> sets[] = {
        {theme->getPushButton(), "button-", "button-"},
        {theme->getSmallPushButton(), "small-button-", "small-button-"},
        {theme->getToggleButton(), "button-toggle-", "button-toggle-"},
        {theme->getKeyboardPushButton(), "kbd-button-", "kbd-button-"},
        {theme->getKeyboardToggleButton(), "kbd-button-", "kbd-button-toggle-"},
    };
    Cache& cache = theme->getCache();
    for (const auto& [set, up, down] : sets)
        EXPECT_EQ(
            std::make_tuple(set.getUp(), set.getUpDisabled(), set.getDown(), set.getDownDisabled()),
            std::make_tuple(cache.getCPM(up + "up"), cache.getCPM(up + "up-dis"),
                            cache.getCPM(down + "down"), cache.getCPM(down + "down-dis")))
            << up << " " << down;
}

TEST(ThemeTest, LargeButtonComposition)
{
    // 10 x 10 pictures: the face is opaque in (2, 2, 6, 6) only, the down
    // overlay hides everything in white; the layouts cut 3 pixels off each side.
    const FileFinder noFiles("");
    Cache cache(noFiles);
    auto picture = [](const Color& c) { return std::make_shared<Pixmap>(10, 10, c); };
    auto face = picture(Color(0, 0, 0, 0));
    face->drawSolidRect(2, 2, 6, 6, Color(0, 0, 0));
    cache.setPixmap("large-button/face", face);
    cache.setPixmap("large-button/background", picture(Color(50, 50, 50)));
    cache.setPixmap("large-button/overlay-up", picture(Color(0, 0, 0, 0)));
    cache.setPixmap("large-button/overlay-down", picture(Color(255, 255, 255)));
    TempDir dir;
    makeDir(dir / "large-button");
    dir.write("large-button/up.cpm", "3 3 3 3  1 2 3 4  0 0 0 0  10 20 30\n");
    dir.write("large-button/down.cpm", "3 3 3 3  1 2 3 4  0 0 0 0  40 50 60\n");

    // Row 3 of the gradient from (200, 0, 0) to (0, 0, 200) is (133, 0, 66);
    // disabled, every colour goes gray with reduced contrast.
    const Color gray(128, 128, 128);
    const std::tuple<bool, bool, Color, Pixmap::Pixel, Pixmap::Pixel> cases[] = {
        {false, true, Color(10, 20, 30), rgb(50, 50, 50), rgb(133, 0, 66)},
        {true, true, Color(40, 50, 60), rgb(255, 255, 255), rgb(255, 255, 255)},
        {false, false, gray, rgb(81, 81, 81), rgb(81, 81, 81)},
        {true, false, gray, rgb(204, 204, 204), rgb(204, 204, 204)},
    };
    for (const auto& [down, enabled, color, outsideFace, faceRow3] : cases) {
        const auto button = Theme::makeLargeButton(cache, FileFinder(dir.path()), Color(200, 0, 0),
                                                   Color(0, 0, 200), down, enabled);
        EXPECT_EQ(std::make_tuple(button->getColor(), button->getTopLeft().getPixel(1, 1),
                                  button->getCenter().getPixel(0, 0)),
                  std::make_tuple(color, outsideFace, faceRow3))
            << "down " << down << " enabled " << enabled;
    }
}

// A program's look: widgets built after setSettings take the new values,
// those built before keep theirs, and the focus ring is drawn in the colour
// set when it is drawn.
TEST(ThemeTest, SettingsApplyToWidgetsBuiltAfterThem)
{
    Theme* theme = testTheme();
    const ThemeSettings defaults = theme->getSettings();
    TestRootWidget root;
    Button* before = new Button(&root, LString(L"Before"), nullptr, WidgetPainter::PP_LEFT_OF_TEXT,
                                HAlign::CENTER, VAlign::CENTER);
    ThemeSettings look = defaults;
    look.buttonHeight = 64;
    look.focusRingColor = Color(200, 0, 0, 255);
    theme->setSettings(look);
    Button* after = new Button(&root, LString(L"After"), nullptr, WidgetPainter::PP_LEFT_OF_TEXT,
                               HAlign::CENTER, VAlign::CENTER);
    Pixmap ring(20, 20, Color(255, 255, 255));
    theme->drawFocusRing(ring, Rect(0, 0, 20, 20));
    theme->setSettings(defaults);

    EXPECT_EQ(std::make_pair(40, 64), std::make_pair(before->getMinHeight(), after->getMinHeight()));
    EXPECT_EQ(rgb(200, 0, 0), ring.getPixel(defaults.focusRingInset, 10));
}
