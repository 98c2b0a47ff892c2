#include <filesystem>

#include "core/TempDir.h"
#include "gui/DialogHarness.h"
#include "gui/widgets/StaticPixmap.h"
#include "input/CalibrationPage.h"
#include "text/Font.h"
#include "text/L10n.h"

#include "DeviceLanguage.h"
#include "LifeboatScreen.h"

using namespace OKU;

// A screen too small for the page's own sizes still gets the page, laid out
// with the smallest fonts, rather than a crash.
TEST(LifeboatPageTest, TinyScreensGetThePageAtItsSmallestSizes)
{
    for (const Size size : {Size(0, 0), Size(1, 1), Size(10, 10), Size(11, 11), Size(47, 30)}) {
        TestRootWidget root(size.width, size.height);
        new LifeboatScreen(&root, L"message");
        root.runPending();
        EXPECT_NE(nullptr, findShowing(&root, L"Lifeboat!")) << size.width << "x" << size.height;
    }
}

// In every shipped language, mirrored pages included, the heading takes the
// largest of its sizes (480 / 11 down to 480 / 22) that fits between the
// smileys.
TEST(LifeboatPageTest, HeadingIsTheLargestThatFitsBetweenTheSmileysInEveryLanguage)
{
    Cache& cache = testTheme()->getCache();
    std::vector<std::string> codes = {"en"};
    for (const auto& table : std::filesystem::directory_iterator(OKU_LNG_DIR))
        if (table.path().extension() == ".lng")
            codes.push_back(table.path().stem());
    EXPECT_EQ(18u, codes.size());
    for (const std::string& code : codes) {
        SCOPED_TRACE(code);
        ScopedEnv language("LIFEBOAT_LANGUAGE", code.c_str());
        loadDeviceLanguage(FileFinder(OKU_LNG_DIR));
        TestRootWidget root(800, 480);
        new LifeboatScreen(&root, L"");
        root.runPending();
        const StaticText* heading = nullptr;
        for (const StaticText* text : findAll<StaticText>(&root))
            if (text->getText().orig() == L"Lifeboat!")
                heading = text;
        ASSERT_NE(nullptr, heading);
        const std::vector<StaticPixmap*> smileys = findAll<StaticPixmap>(&root);
        ASSERT_EQ(2u, smileys.size());
        const Rect left = smileys[0]->getRectAbs(), right = smileys[1]->getRectAbs();
        const int room = std::max(left.x, right.x) - std::min(left.right(), right.right());
        const std::wstring text = heading->getText().str();
        int size = 480 / 11;
        while (size > 480 / 22 && cache.getFont(size, true, false)->getTextSize(text).width > room)
            --size;
        StaticText reference(nullptr, heading->getText(), HAlign::CENTER, VAlign::CENTER);
        reference.setFont(cache.getFont(size, true, false));
        EXPECT_EQ(reference.getMinWidth(), heading->getMinWidth()) << size;
    }
    l10nLoadLanguage("", L10n_Language::WESTERN);
}
