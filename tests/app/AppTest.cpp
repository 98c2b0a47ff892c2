#include <filesystem>

#include "ExternalDisk.h"
#include "core/TempDir.h"
#include "core/Utf8.h"
#include "gui/DialogHarness.h"
#include "gui/widgets/StaticPixmap.h"
#include "input/CalibrationPage.h"
#include "text/Font.h"
#include "text/L10n.h"

#include "LifeboatScreen.h"
#include "MessageText.h"
#include "MyCalibrationScreen.h"
#include "SearchPaths.h"
#include "Version.h"

using namespace OKU;

// nullptr stands for an unset variable or a missing file.
TEST(AppTest, SearchPathsFollowRootOrPrefix)
{
    const struct { const char* lifeboat, *prefix, *resources, *scripts; } cases[] = {
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
        const SearchPaths paths = searchPathsFromEnv();
        EXPECT_EQ(std::make_pair(std::string(c.resources), std::string(c.scripts)),
                  std::make_pair(paths.resources, paths.scripts));
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
        {nullptr, L"", false, "\xff\xfe\xa6\n3.1", L"UNKNOWN"},
        {longBootrom.c_str(), std::wstring(99, L'a'), false, nullptr, L"UNKNOWN"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(dir / "bootrom");
        std::filesystem::remove(dir / "VERSION");
        if (c.bootrom)
            dir.write("bootrom", c.bootrom);
        if (c.versionFile)
            dir.write("VERSION", c.versionFile);
        EXPECT_EQ(std::make_tuple(c.bootromVersion, c.preview, c.version),
                  std::make_tuple(Version::getBootromVersion().orig(),
                                  Version::isBootromPreviewVersion(),
                                  Version::getVersionAt(dir.path()).orig()));
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

// The operator is told and may retry; the program goes on.
TEST_F(ExternalDiskTest, FailedUnmountIsReportedAndTheNextMountRunsTheScriptAgain)
{
    writeScripts(0, 3);
    ExternalDisk::Session session;
    ASSERT_TRUE(session.mount());
    EXPECT_FALSE(session.umount());
    EXPECT_FALSE(ExternalDisk::g().isMounted());
    EXPECT_TRUE(session.umount());
    ASSERT_TRUE(session.mount());
    writeScripts(0, 0);
    EXPECT_TRUE(session.umount());
    EXPECT_EQ("mount /mnt/extdisk\numount /mnt/extdisk\nmount /mnt/extdisk\numount /mnt/extdisk\n",
              runs());
}

TEST_F(ExternalDiskTest, MisuseIsFatal)
{
    writeScripts(0, 3);
    const struct { std::function<void()> misuse; const char* message; } cases[] = {
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
    };
    for (const auto& c : cases)
        expectFatalError(c.misuse, c.message);
}

namespace {

// The calibration page on an 800 x 600 root, its driver recording.
struct CalibrationRig {
    CalibrationRig()
    {
        root.setTouchScreen(&touchScreen);
        new MyCalibrationScreen(&root, L"message");
        root.runPending();
        cross = findAll<StaticPixmap>(&root).at(0);
    }

    TestRootWidget root{800, 600};
    RecordingTouchScreen touchScreen;
    const StaticPixmap* cross = nullptr;
};

} // namespace

TEST(CalibrationScreenTest, NineTouchesInReadingOrderOfTheLanguage)
{
    TempDir dir;
    dir.write("rtl.lang", "");
    ScopedEnv marker("OKU_TS_CALIBRATED_FILE", (dir / "calibrated").c_str());
    const Point grid[] = {{50, 70},  {400, 70},  {749, 70},  {50, 300}, {400, 300},
                          {749, 300}, {50, 549}, {400, 549}, {749, 549}};
    // order: the grid points in the order they are shown.
    const struct { std::string languageFile; L10n_Language language; int order[9]; } cases[] = {
        {"", L10n_Language::WESTERN, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {dir / "rtl.lang", L10n_Language::WESTERN_RTL, {2, 1, 0, 5, 4, 3, 8, 7, 6}}};
    for (const auto& c : cases) {
        ASSERT_TRUE(l10nLoadLanguage(c.languageFile, c.language));
        CalibrationRig rig;
        auto& [root, touchScreen, cross] = rig;
        for (int i = 0; i < 9; ++i) {
            if (i > 0) {
                root.tap(Point(5, 5)); // during the pause: ignored
                root.processEvent(true);
            }
            EXPECT_TRUE(cross->isShown());
            EXPECT_EQ(grid[c.order[i]], centre(cross)) << i;
            root.tap(onTarget(grid[c.order[i]]));
            EXPECT_FALSE(cross->isShown());
        }
        EXPECT_EQ((Log{"raw on", "calibrate 799x599", "raw off"}), touchScreen.m_log);
        for (int i = 0; i < 9; ++i) {
            const TouchScreen::CalibrationPoint& p = touchScreen.m_points.at(c.order[i]);
            EXPECT_EQ(grid[c.order[i]], Point(p.screenX, p.screenY));
            EXPECT_EQ(onTarget(grid[c.order[i]]), Point(p.rawX, p.rawY));
        }
        root.tap(centre(findShowing(&root, L"OK")));
        EXPECT_TRUE(TouchScreen::isCalibrated());
        ASSERT_EQ(1u, root.getChildren().size());
        EXPECT_NE(nullptr, dynamic_cast<LifeboatScreen*>(root.getChildren().front()));
        TouchScreen::setCalibrated(false);
    }
    l10nLoadLanguage("", L10n_Language::WESTERN);
}

// Escape leaves the calibration for the emergency page, raw mode ended and
// the device unmarked, whether touches were made or not; before the ninth
// touch nothing is installed.
TEST(CalibrationScreenTest, EscapeSkipsToThePageWithoutCalibrating)
{
    TempDir dir;
    ScopedEnv marker("OKU_TS_CALIBRATED_FILE", (dir / "calibrated").c_str());
    const struct { int touches; Log log; } cases[] = {{0, {"raw on", "raw off"}},
                 {4, {"raw on", "raw off"}},
                 {9, {"raw on", "calibrate 799x599", "raw off"}}};
    for (const auto& c : cases) {
        CalibrationRig rig;
        auto& [root, touchScreen, cross] = rig;
        for (int i = 0; i < c.touches; ++i) {
            while (!cross->isShown())
                root.processEvent(true);
            root.tap(onTarget(centre(cross)));
        }
        root.injectKeyEvent(KEY_CANCEL, 0);
        root.runPending();
        EXPECT_EQ(c.log, touchScreen.m_log) << c.touches;
        EXPECT_EQ(nullptr, root.getMouseGrabber());
        EXPECT_FALSE(TouchScreen::isCalibrated());
        ASSERT_EQ(1u, root.getChildren().size());
        EXPECT_NE(nullptr, dynamic_cast<LifeboatScreen*>(root.getChildren().front()));
    }
}

namespace {

// The emergency page on a 800 x 480 screen of a device without boot ROM
// version file.
class LifeboatScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Version::s_bootromVersionFile = "/nonexistent/bootrom_version.txt";
        new LifeboatScreen(&m_root, L"Disk failure");
        m_root.runPending();
    }

    TestRootWidget m_root{800, 480};
};

} // namespace

// The page lying (800 x 480) or upright (480 x 800): the message in bold 14,
// whole, above a centred column of the four 266-wide buttons a margin apart,
// each text whole; the heading fits between the smileys, in bold 43 when
// lying and a little smaller upright. Versions are shown as they are,
// untranslated, the boot ROM's line empty on a device without its file.
TEST(LifeboatPageTest, LyingAndUprightScreensKeepTheSizes)
{
    Version::s_bootromVersionFile = "/nonexistent/bootrom_version.txt";
    Cache& cache = testTheme()->getCache();
    const int margin = Theme::g()->getSettings().sizerMargin;
    const std::wstring text = L"Disk failure on /dev/mmcblk0p3, please back up now.";
    for (const Size screen : {Size(800, 480), Size(480, 800)}) {
        const bool upright = screen.height > screen.width;
        SCOPED_TRACE(upright ? "upright" : "lying");
        TestRootWidget root(screen.width, screen.height);
        new LifeboatScreen(&root, text);
        root.runPending();

        const auto* heading = static_cast<StaticText*>(findShowing(&root, L"Lifeboat!"));
        StaticText reference(nullptr, heading->getText(), HAlign::CENTER, VAlign::CENTER);
        reference.setFont(cache.getFont(upright ? 36 : 43, true, false));
        if (upright)
            EXPECT_GT(heading->getMinHeight(), reference.getMinHeight());
        else
            EXPECT_EQ(Size(reference.getMinWidth(), reference.getMinHeight()),
                      Size(heading->getMinWidth(), heading->getMinHeight()));
        const std::vector<StaticPixmap*> smileys = findAll<StaticPixmap>(&root);
        ASSERT_EQ(2u, smileys.size());
        EXPECT_LE(heading->getMinWidth(),
                  smileys[1]->getRectAbs().x - smileys[0]->getRectAbs().right());
        const auto* message = dynamic_cast<MessageText*>(findShowing(&root, text));
        EXPECT_EQ(cache.getFont(14, true, false), message->getShownFont());
        EXPECT_EQ(text, message->getShownText());

        std::vector<std::wstring> names;
        int top = message->getRectAbs().bottom() + margin + 12;
        for (const Button* button : findAll<Button>(&root)) {
            const Rect r = button->getRectAbs();
            EXPECT_EQ(Rect(screen.width / 2 - 133, top + margin, 266, r.height), r);
            EXPECT_LE(button->getMinWidth(), r.width);
            names.push_back(button->getText().orig());
            top = r.bottom();
        }
        EXPECT_LE(top, screen.height);
        EXPECT_EQ((std::vector<std::wstring>{L"Emergency Backup", L"Factory Reset",
                                             L"Start Application", L"Reboot"}),
                  names);
        const std::vector<StaticText*> texts = findAll<StaticText>(&root);
        EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const StaticText* t) {
            return t->getText().orig() == L"\n1.1.1";
        }));
    }
}

// The page worked with the keyboard alone: the first key shows the focus on
// the first button, the factory reset question starts on Cancel, and a closed
// question gives the focus back to Factory Reset. Taps, and the key
// sequences of the keyboard scenarios, end the program in tests/sim.
TEST_F(LifeboatScreenTest, ChoicesByKeyboardEndTheProgramWithTheirStatus)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::wstring tab = c_tabKey, down = c_downKey, enter = c_enterKey;
    const struct {
        std::vector<std::wstring> keys;
        int status;
    } cases[] = {{{tab, down, enter, c_confirmKey}, 51},
                 {{c_shiftTabKey, c_shiftTabKey, enter}, 54},
                 {{tab, down, enter, c_cancelKey, down, enter}, 50},
                 {{tab, down, enter, enter, down, down, enter}, 54}};
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                m_root.start();
                for (const std::wstring& step : c.keys) {
                    for (wchar_t key : step)
                        m_root.injectKeyEvent(KeyCode(key), 0);
                    // Handled, and a dialog it opened or closed is shown.
                    m_root.onGuiThread([] {});
                }
                sleepMilliseconds(5000);
            },
            testing::ExitedWithCode(c.status), "");
    }
}

// Whether any pixel of the area is the message's red.
static bool hasRed(const Pixmap& page, const Rect& area)
{
    return !boxOf(page, area, [](const Pixmap::Pixel& p) {
                return p.red > 200 && p.green < 100 && p.blue < 100;
            }).isEmpty();
}

// A message of any length, in any script, stays between the smileys and above
// the buttons: wrapped, in a smaller font when needed, and cut with an ellipsis
// when even the smallest readable font cannot take it all. Its first line is
// always shown, and the four buttons keep at least their minimum height.
TEST(LifeboatMessageTest, LongMessagesShrinkAndEndWithAnEllipsis)
{
    Version::s_bootromVersionFile = "/nonexistent/bootrom_version.txt";
    std::wstring fiveKilobytes;
    while (utf8Encode(fiveKilobytes).size() < 5000)
        fiveKilobytes += L"Disk failure on /dev/mmcblk0p3, please back up now. "
                         L"\u062e\u0637\u0623 \u0641\u064a \u0627\u0644\u0642\u0631\u0635. "
                         L"\u05e9\u05d2\u05d9\u05d0\u05d4 \u05d1\u05d3\u05d9\u05e1\u05e7. ";
    const struct {
        std::wstring message;
        int fontSize;
        bool whole;
    } cases[] = {{L"Disk failure", 14, true},
                 {fiveKilobytes.substr(0, 650), 11, true},
                 {fiveKilobytes, 10, false}};

    TestRootWidget reference(800, 480);
    new LifeboatScreen(&reference, L"");
    reference.runPending();
    const Pixmap referencePage = reference.getPixmapCopy();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.size());
        TestRootWidget root(800, 480);
        new LifeboatScreen(&root, c.message);
        root.runPending();
        const Pixmap page = root.getPixmapCopy();

        for (StaticPixmap* smiley : findAll<StaticPixmap>(&root))
            EXPECT_TRUE(sameIn(referencePage, page, smiley->getRectAbs()));
        for (Button* button : findAll<Button>(&root)) {
            EXPECT_FALSE(hasRed(page, button->getRectAbs()));
            EXPECT_GE(button->getHeight(), button->getMinHeight());
            EXPECT_LE(button->getRectAbs().bottom(), 480);
        }

        auto* message = dynamic_cast<MessageText*>(findShowing(&root, c.message));
        const Rect box = message->getRectAbs();
        const int firstLine = message->getShownFont()->getLineSpacing();
        EXPECT_TRUE(hasRed(page, Rect(box.x, box.y, box.width, firstLine)));
        EXPECT_FALSE(hasRed(page, Rect(0, 0, 800, box.y)));
        EXPECT_FALSE(hasRed(page, Rect(0, box.bottom(), 800, 480 - box.bottom())));
        EXPECT_EQ(Theme::g()->getCache().getFont(c.fontSize, true, false), message->getShownFont());
        const std::wstring& shown = message->getShownText();
        if (c.whole) {
            EXPECT_EQ(c.message, shown);
            continue;
        }
        ASSERT_EQ(L'\u2026', shown.back());
        EXPECT_EQ(0u, c.message.find(shown.substr(0, shown.size() - 1)));
        EXPECT_GT(shown.size(), 300u);
    }
}
