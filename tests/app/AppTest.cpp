#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/ExternalDisk.h"
#include "core/TempDir.h"
#include "core/Time.h"
#include "gui/Button.h"
#include "gui/StaticPixmap.h"
#include "gui/StaticText.h"
#include "gui/TestRootWidget.h"
#include "gui/TestTheme.h"
#include "input/DummyTouchScreen.h"
#include "text/L10n.h"

#include "LifeboatScreen.h"
#include "MyCalibrationScreen.h"
#include "SearchPaths.h"
#include "Version.h"

using namespace OKU;

// nullptr stands for an unset variable or a missing file.
TEST(AppTest, SearchPathsFollowRootOrPrefix)
{
    const struct {
        const char* lifeboat;
        const char* prefix;
        const char* resources;
        const char* scripts;
    } cases[] = {
        {"/lb", "/oku", "/lb/fonts;/lb/pixmaps;/lb/keyboards;/lb/lng", "/lb/bin"},
        {"", nullptr,
         "/usr/lib/oku/fonts;/usr/lib/oku/pixmaps;/usr/lib/oku/keyboards;fonts;pixmaps;keyboards;../po",
         "scripts"},
        {nullptr, "/oku",
         "/oku/lib/oku/fonts;/oku/lib/oku/pixmaps;/oku/lib/oku/keyboards;fonts;pixmaps;keyboards;../po",
         "scripts"},
    };
    for (const auto& c : cases) {
        ScopedEnv lifeboat("KARO_LIFEBOAT", c.lifeboat);
        ScopedEnv prefix("OKU_PREFIX", c.prefix);
        EXPECT_EQ(c.resources, searchPathsFromEnv().resources);
        EXPECT_EQ(c.scripts, searchPathsFromEnv().scripts);
    }
}

TEST(AppTest, VersionsComeFromFilesAndEnvironment)
{
    TempDir dir;
    const std::string longBootrom = " " + std::string(99, 'a') + "bcd";
    const std::string saved = Version::s_bootromVersionFile;
    Version::s_bootromVersionFile = dir / "bootrom";
    const struct {
        const char* bootrom;
        std::wstring bootromVersion;
        bool preview;
        const char* versionFile;
        std::wstring version;
    } cases[] = {
        {"  2.0.3 Preview\r\n", L"2.0.3 Preview", true, "3.1.4\r\nsecond\r\n", L"3.1.4"},
        {"\t2.0.3 preview\n", L"2.0.3 preview", false, "Gr\xc3\xbcn", L"Gr\u00fcn"},
        {nullptr, L"", false, "", L"UNKNOWN"},
        {longBootrom.c_str(), std::wstring(99, L'a'), false, nullptr, L"UNKNOWN"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(dir / "bootrom");
        std::filesystem::remove(dir / "VERSION");
        if (c.bootrom)
            dir.write("bootrom", c.bootrom);
        if (c.versionFile)
            dir.write("VERSION", c.versionFile);
        EXPECT_EQ(c.bootromVersion, Version::getBootromVersion().orig());
        EXPECT_EQ(c.preview, Version::isBootromPreviewVersion());
        EXPECT_EQ(c.version, Version::getVersionAt(dir.path()).orig());
    }
    Version::s_bootromVersionFile = saved;
    EXPECT_TRUE(Version::getVersionAt(dir / "missing").empty());
    for (const char* root : {static_cast<const char*>(nullptr), "", "/sim"}) {
        ScopedEnv env("KARO_ROOT", root);
        EXPECT_EQ(root && *root, Version::isSimulator());
    }
}

namespace {

// The process-wide disk service over scripts that log their runs.
class ExternalDiskTest : public ::testing::Test {
protected:
    void SetUp() override { ExternalDisk::s_global = new ExternalDisk(FileFinder(m_dir.path())); }
    void TearDown() override
    {
        delete ExternalDisk::s_global;
        ExternalDisk::s_global = nullptr;
    }

    void writeScripts(int mountStatus, int umountStatus)
    {
        for (const std::string word : {"mount", "umount"}) {
            m_dir.write(word + "-extdisk.sh",
                        "#!/bin/sh\necho " + word + " $1 >> " + (m_dir / "log") + "; exit " +
                            std::to_string(word == "mount" ? mountStatus : umountStatus) + "\n");
            std::filesystem::permissions(m_dir / (word + "-extdisk.sh"),
                                         std::filesystem::perms::owner_all);
        }
    }
    std::string runs() const { return m_dir.read("log"); }

    TempDir m_dir;
};

} // namespace

TEST_F(ExternalDiskTest, ScriptsRunForTheFirstMountAndTheLastUnmount)
{
    writeScripts(1, 0);
    ExternalDisk::Session first;
    EXPECT_FALSE(first.mount());
    writeScripts(0, 0);
    {
        ExternalDisk::Session second;
        ASSERT_TRUE(first.mount() && first.mount() && second.mount());
        EXPECT_EQ("/mnt/extdisk", second.getRoot());
        first.umount();
        first.umount();
        EXPECT_TRUE(ExternalDisk::g().isMounted());
        EXPECT_EQ("mount /mnt/extdisk\nmount /mnt/extdisk\n", runs());
    }
    EXPECT_FALSE(ExternalDisk::g().isMounted());
    ScopedEnv fake("OKU_FAKE_EXTDISK", m_dir.path().c_str());
    ExternalDisk::Session faked;
    ASSERT_TRUE(faked.mount());
    EXPECT_EQ(m_dir.path(), faked.getRoot());
    faked.umount();
    EXPECT_EQ("mount /mnt/extdisk\nmount /mnt/extdisk\numount /mnt/extdisk\n", runs());
}

TEST_F(ExternalDiskTest, MisuseIsFatal)
{
    writeScripts(0, 3);
    const struct {
        std::function<void()> misuse;
        const char* message;
    } cases[] = {
        {[] { ExternalDisk::initGlobal(FileFinder("")); },
         "static void OKU::ExternalDisk::initGlobal\\(const OKU::FileFinder&\\)"},
        {[] {
             ExternalDisk::s_global = nullptr;
             ExternalDisk::g();
         },
         "static OKU::ExternalDisk& OKU::ExternalDisk::g\\(\\)"},
        {[] { ExternalDisk::g().doUmount(); }, "ExternalDisk::doUmount\\(\\)"},
        {[] { ExternalDisk::Session().getRoot(); }, "ExternalDisk::Session::getRoot\\(\\): Not mounted"},
        {[this] { ExternalDisk(FileFinder(m_dir.path())).doMount(); }, "ExternalDisk::~ExternalDisk"},
        {[] { ExternalDisk::Session().mount(); }, "ExternalDisk::reallyUmount failed"},
    };
    for (const auto& c : cases)
        expectFatalError(c.misuse, c.message);
}

namespace {

// Keeps what the calibration screen tells the driver.
class RecordingTouchScreen : public DummyTouchScreen {
public:
    void startRawCoordinates() override { m_log.push_back("raw on"); }
    void endRawCoordinates() override { m_log.push_back("raw off"); }
    void setCalibration(const std::vector<CalibrationPoint>& points, int width, int height) override
    {
        m_points = points;
        m_log.push_back("calibrate " + std::to_string(width) + "x" + std::to_string(height));
    }

    Log m_log;
    std::vector<CalibrationPoint> m_points;
};

void tap(TestRootWidget& root, const Point& p)
{
    for (bool pressed : {true, false}) {
        root.injectMouseEvent(p.x, p.y, pressed);
        root.runPending();
    }
}

Point center(const Widget* w)
{
    const Rect r = w->getRectAbs();
    return Point(r.x + r.width / 2, r.y + r.height / 2);
}

// Every widget of type T below w, in tree order.
template <class T>
std::vector<T*> find(Widget* w)
{
    std::vector<T*> found;
    for (Widget* child : w->getChildren()) {
        if (T* t = dynamic_cast<T*>(child))
            found.push_back(t);
        const std::vector<T*> below = find<T>(child);
        found.insert(found.end(), below.begin(), below.end());
    }
    return found;
}

template <class T>
T* withText(Widget* w, const std::wstring& text)
{
    for (T* t : find<T>(w))
        if (t->getText().orig() == text)
            return t;
    ADD_FAILURE() << "no such text";
    return nullptr;
}

} // namespace

TEST(CalibrationScreenTest, NineTouchesInReadingOrderOfTheLanguage)
{
    TempDir dir;
    dir.write("rtl.lang", "");
    ScopedEnv marker("OKU_TS_CALIBRATED_FILE", (dir / "calibrated").c_str());
    testTheme();
    const Point grid[] = {{50, 70},  {400, 70},  {749, 70},  {50, 300}, {400, 300},
                          {749, 300}, {50, 549}, {400, 549}, {749, 549}};
    const struct {
        std::string languageFile;
        L10n_Language language;
        int order[9]; // the grid points in the order they are shown
    } cases[] = {{"", L10n_Language::WESTERN, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
                 {dir / "rtl.lang", L10n_Language::WESTERN_RTL, {2, 1, 0, 5, 4, 3, 8, 7, 6}}};
    for (const auto& c : cases) {
        ASSERT_TRUE(l10nLoadLanguage(c.languageFile, c.language));
        TestRootWidget root(800, 600);
        RecordingTouchScreen touchScreen;
        root.setTouchScreen(&touchScreen);
        new MyCalibrationScreen(&root, L"message");
        root.runPending();
        const StaticPixmap* cross = find<StaticPixmap>(&root).at(0);
        for (int i = 0; i < 9; ++i) {
            if (i > 0) {
                tap(root, Point(5, 5)); // during the pause: ignored
                root.processEvent(true);
            }
            EXPECT_TRUE(cross->isShown());
            EXPECT_EQ(grid[c.order[i]], center(cross)) << i;
            tap(root, Point(1000 + i, 2000 + i));
            EXPECT_FALSE(cross->isShown());
        }
        EXPECT_EQ((Log{"raw on", "calibrate 799x599", "raw off"}), touchScreen.m_log);
        for (int i = 0; i < 9; ++i) {
            const TouchScreen::CalibrationPoint& p = touchScreen.m_points.at(c.order[i]);
            EXPECT_EQ(grid[c.order[i]], Point(p.screenX, p.screenY));
            EXPECT_EQ(Point(1000 + i, 2000 + i), Point(p.rawX, p.rawY));
        }
        EXPECT_EQ(nullptr, root.getMouseGrabber());

        EXPECT_FALSE(TouchScreen::isCalibrated());
        tap(root, center(withText<Button>(&root, L"OK")));
        EXPECT_TRUE(TouchScreen::isCalibrated());
        ASSERT_EQ(1u, root.getChildren().size());
        EXPECT_NE(nullptr, dynamic_cast<LifeboatScreen*>(root.getChildren().front()));
        TouchScreen::setCalibrated(false);
    }
    l10nLoadLanguage("", L10n_Language::WESTERN);
}

namespace {

// The emergency page on a 800 x 480 screen of a device without boot ROM
// version file.
class LifeboatScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Version::s_bootromVersionFile = "/nonexistent/bootrom_version.txt";
        testTheme();
        new LifeboatScreen(&m_root, L"Disk failure");
        m_root.runPending();
    }

    Rect button(const std::wstring& text) { return withText<Button>(&m_root, text)->getRectAbs(); }

    TestRootWidget m_root{800, 480};
};

// Whether the text is shown in the default bold font of that size.
void expectFontSize(int size, const StaticText* text)
{
    StaticText reference(nullptr, text->getText(), HAlign::CENTER, VAlign::CENTER);
    reference.setFont(Theme::g()->getCache().getFont(size, true, false));
    EXPECT_EQ(reference.getMinWidth(), text->getMinWidth());
    EXPECT_EQ(reference.getMinHeight(), text->getMinHeight());
}

} // namespace

TEST_F(LifeboatScreenTest, PageScalesWithTheScreen)
{
    const int margin = Theme::g()->m_sizerMargin;
    const StaticText* message = withText<StaticText>(&m_root, L"Disk failure");
    expectFontSize(43, withText<StaticText>(&m_root, L"Lifeboat!"));
    expectFontSize(14, message);

    const Rect first = button(L"Emergency Backup");
    EXPECT_EQ(message->getRectAbs().bottom() + margin + 12 + margin, first.y);
    EXPECT_EQ(400, first.x + first.width / 2);
    int y = first.y;
    for (const wchar_t* name : {L"Emergency Backup", L"Factory Reset", L"Start Application", L"Reboot"}) {
        EXPECT_EQ(Rect(first.x, y, 266, button(name).height), button(name)) << name;
        y = button(name).bottom() + margin;
    }
    // A device without boot ROM version file shows an empty first version line.
    EXPECT_NE(nullptr, withText<StaticText>(&m_root, L"\n1.1.1"));
}

// A step taps a button, or answers the open dialog with its confirming or
// cancelling key.
TEST_F(LifeboatScreenTest, ChoicesEndTheProgramWithTheirStatus)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::map<std::wstring, Point> taps;
    for (const wchar_t* name : {L"Factory Reset", L"Start Application", L"Reboot"})
        taps[name] = center(withText<Button>(&m_root, name));
    const struct {
        std::vector<std::wstring> steps;
        int status;
    } cases[] = {{{L"Start Application"}, 50},
                 {{L"Reboot"}, 54},
                 {{L"Factory Reset", L"OK"}, 51},
                 {{L"Factory Reset", L"Cancel", L"Start Application"}, 50}};
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                m_root.start();
                for (const std::wstring& step : c.steps) {
                    if (taps.count(step) == 0) {
                        m_root.injectKeyEvent(step == L"OK" ? KEY_CONFIRM : KEY_CANCEL, 0);
                        continue;
                    }
                    m_root.injectMouseEvent(taps[step].x, taps[step].y, true);
                    m_root.injectMouseEvent(taps[step].x, taps[step].y, false);
                }
                sleepMilliseconds(5000);
            },
            testing::ExitedWithCode(c.status), "");
    }
}
