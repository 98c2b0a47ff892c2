#include <filesystem>
#include <sys/stat.h>

#include "ExternalDisk.h"
#include "core/TempDir.h"
#include "gui/DialogHarness.h"
#include "gui/widgets/ProgressBar.h"
#include "input/CalibrationPage.h"

#include "BackupFigures.h"
#include "BackupProgress.h"
#include "BackupReason.h"
#include "BackupWindow.h"
#include "LifeboatScreen.h"
#include "ScriptFinder.h"

using namespace OKU;

TEST(BackupProgressTest, LinesSetTheAmountsAndAnythingElseChangesNothing)
{
    BackupProgress progress;
    const struct { const char* line; bool known; unsigned long long total, done; } lines[] = {
        {"total 4000", true, 4000, 0},
        {"done 1000", true, 4000, 1000},
        {"stage saving", true, 4000, 1000},
        {"done -5", false, 4000, 1000},
        {"done 18446744073709551616", false, 4000, 1000},
        {"done 18446744073709551615", true, 4000, 18446744073709551615ULL},
        {"total 12 MB", false, 4000, 18446744073709551615ULL},
        {"done", false, 4000, 18446744073709551615ULL},
        {"stage resting", false, 4000, 18446744073709551615ULL},
        {"progress 50%", false, 4000, 18446744073709551615ULL},
        {"stage checking", true, 0, 0},
        {"total 300", true, 300, 0},
        {"partial /mnt/extdisk/backup.abc", true, 300, 0},
        {"partial ", false, 300, 0},
    };
    for (const auto& l : lines) {
        EXPECT_EQ(l.known, progress.apply(l.line)) << l.line;
        EXPECT_EQ(std::make_pair(l.total, l.done), std::make_pair(progress.total, progress.done))
            << l.line;
    }
    EXPECT_EQ(BackupProgress::CHECKING, progress.stage);
    EXPECT_EQ("/mnt/extdisk/backup.abc", progress.partialPath);
}

TEST(BackupFiguresTest, SizesAndDurationsOnBothSidesOfEachUnit)
{
    const struct { unsigned long long bytes; const wchar_t* text; } sizes[] = {
        {0, L"0.0 MB"},         {9'940'000, L"9.9 MB"},        {10'000'000, L"10 MB"},
        {999'400'000, L"999 MB"}, {999'999'999, L"1000 MB"},    {1'000'000'000, L"1.0 GB"},
        {123'456'789'012ULL, L"123.5 GB"},
    };
    for (const auto& s : sizes)
        EXPECT_EQ(s.text, sizeText(s.bytes).orig()) << s.bytes;
    const struct { unsigned long long seconds; const wchar_t* text; } durations[] = {
        {0, L"0:00"}, {59, L"0:59"}, {60, L"1:00"}, {3599, L"59:59"}, {3600, L"1:00:00"},
        {36061, L"10:01:01"},
    };
    for (const auto& d : durations)
        EXPECT_EQ(d.text, durationText(d.seconds).orig()) << d.seconds;
}

TEST(BackupReasonTest, KnownReasonsAreTranslatedAndOthersShownAsWritten)
{
    const struct { const char* errors; const wchar_t* reason; bool translated; } cases[] = {
        {"", L"", false},
        {"tar: ./x: file changed\n/bin/emergency-backup.sh: read-only: /mnt/extdisk\r\n\n",
         L"The USB drive is write-protected.", true},
        {"emergency-backup.sh: not mounted: /mnt/extdisk", L"The USB drive is not mounted.", true},
        {"x: archive exists: /mnt/extdisk/backup-1.tar.gz",
         L"A backup of the same name is already on the USB drive.", true},
        {"x: read-back failed: /mnt/extdisk/b", L"The backup could not be read back from the USB drive.",
         true},
        {"x: no space: 1500000 bytes free, 42000000 bytes needed",
         L"There is not enough space on the USB drive: 1.5 MB free, 42 MB needed.", true},
        // Malformed figures, a reason not at the start, a prefix of more words.
        {"x: no space: 15 bytes free, lots needed", L"no space: 15 bytes free, lots needed", false},
        {"x: the drive is read-only: sorry", L"the drive is read-only: sorry", false},
        {"writing /mnt/extdisk/b failed: Input/output error",
         L"writing /mnt/extdisk/b failed: Input/output error", false},
        {"x: Gr\xc3\xbc\xc3\x9f\xff", L"Gr\u00fc\u00df", false},
    };
    for (const auto& c : cases) {
        const LString reason = backupFailureReason(c.errors);
        EXPECT_EQ(c.reason, reason.orig()) << c.errors;
        EXPECT_EQ(c.translated, reason.isTranslatable()) << c.errors;
    }
    EXPECT_EQ(200u, backupFailureReason("x: " + std::string(500, 'a')).orig().size());
}

namespace {

// Waits up to ten seconds for what the test expects to happen.
bool eventually(const std::function<bool()>& condition)
{
    for (int i = 0; i < 1000; ++i) {
        if (condition())
            return true;
        sleepMilliseconds(10);
    }
    return false;
}

// The backup window over a drive faked by a directory, running a script
// written for the case; the outcome arrives when the window has closed.
class BackupWindowTest : public ::testing::Test {
protected:
    BackupWindowTest() : m_drive(m_dir / "drive"), m_fake("OKU_FAKE_EXTDISK", m_drive.c_str())
    {
        std::filesystem::create_directory(m_drive);
    }

    void writeScript(const std::string& body)
    {
        m_dir.write("backup.sh", "#!/bin/sh\n" + body + "\n");
        ASSERT_EQ(0, chmod((m_dir / "backup.sh").c_str(), 0755));
    }

    // The harness's question is the backup: its answer is the result.
    std::function<int(Widget*)> backup()
    {
        return [this](Widget* top) {
            ExternalDisk::Session disk;
            EXPECT_TRUE(disk.mount());
            (new BackupWindow(top, LString(L"Emergency Backup"), m_dir / "backup.sh", disk,
                              m_outcome))
                ->modal();
            return static_cast<int>(m_outcome.result);
        };
    }

    bool exists(const std::string& path) const { return std::filesystem::exists(path); }

    TempDir m_dir;
    const std::string m_drive;
    ScopedEnv m_fake;
    BackupOutcome m_outcome;
};

} // namespace

TEST_F(BackupWindowTest, ProgressIsShownAndTheScriptsEndDecidesTheOutcome)
{
    writeScript("echo \"stage saving\ntotal 4000000\ndone 1000000\" >&3\n"
                "while [ ! -e \"$1/go\" ]; do sleep 0.05; done\n"
                "echo \"stage checking\" >&3\nexit 0");
    DialogHarness harness(backup());
    // A quarter of the bar's inside, rounded down.
    const auto quarterFilled = [&harness] {
        return harness.m_root.onGuiThread([&harness] {
            const std::vector<ProgressBar*> bars = findAll<ProgressBar>(harness.topDialog());
            return bars.size() == 1 &&
                   bars[0]->getFilledWidth() == (bars[0]->getWidth() - 2) / 4;
        });
    };
    EXPECT_TRUE(eventually(quarterFilled));
    EXPECT_FALSE(harness.answered());
    m_dir.write("drive/go", "");
    EXPECT_EQ(BackupOutcome::COMPLETED, harness.answer());
    EXPECT_TRUE(m_outcome.unmounted);
}

TEST_F(BackupWindowTest, FailureGivesTheReasonAndRemovesOnlyTheScriptsOwnTemporaryFile)
{
    const std::string outside = m_dir / "outside";
    m_dir.write("outside", "keep");
    const struct { std::string partial; bool removed; } cases[] = {
        {m_drive + "/backup.partial", true},
        {outside, false},
        {m_drive + "/../outside", false},
        {m_drive + "/dir.partial", false},
        {m_drive + "/link.partial", false},
    };
    std::filesystem::create_directory(m_drive + "/dir.partial");
    std::filesystem::create_symlink(outside, m_drive + "/link.partial");
    for (const auto& c : cases) {
        writeScript("[ -e \"" + c.partial + "\" ] || : >\"" + c.partial + "\"\necho \"partial " +
                    c.partial + "\" >&3\necho \"$0: read-only: $1\" >&2\nexit 1");
        DialogHarness harness(backup());
        EXPECT_EQ(BackupOutcome::FAILED, harness.answer()) << c.partial;
        EXPECT_EQ(L"The USB drive is write-protected.", m_outcome.reason.orig());
        EXPECT_EQ(!c.removed, exists(c.partial)) << c.partial;
    }
    EXPECT_EQ("keep", m_dir.read("outside"));
}

TEST_F(BackupWindowTest, CancelAsksThenStopsEvenAScriptThatIgnoresTerm)
{
    // No: the script goes on and completes. Yes: TERM, ignored, then KILL.
    writeScript(": >\"$1/b.partial\"\necho \"partial $1/b.partial\" >&3\ntrap '' TERM\n"
                "while [ ! -e \"$1/go\" ]; do sleep 0.05; done\nrm \"$1/b.partial\"");
    {
        DialogHarness harness(backup());
        ASSERT_TRUE(eventually([&] { return exists(m_drive + "/b.partial"); }));
        harness.send(L"Cancel");
        harness.send(L"No");
        m_dir.write("drive/go", "");
        EXPECT_EQ(BackupOutcome::COMPLETED, harness.answer());
    }
    std::filesystem::remove(m_drive + "/go");
    DialogHarness harness(backup());
    ASSERT_TRUE(eventually([&] { return exists(m_drive + "/b.partial"); }));
    harness.send(L"Cancel");
    harness.send(L"Yes");
    EXPECT_EQ(BackupOutcome::CANCELLED, harness.answer());
    EXPECT_FALSE(exists(m_drive + "/b.partial"));
}

TEST_F(BackupWindowTest, SilenceBeyondTheLimitIsReportedUntilTheScriptMovesAgain)
{
    ScopedEnv limit(BackupWindow::c_stallVariable, "1");
    // A drive whose free space nobody else changes: that of a shared file
    // system would count as a sign of work.
    ScopedEnv quietDrive("OKU_FAKE_EXTDISK", "/proc");
    writeScript("while [ ! -e " + m_drive + "/go ]; do sleep 0.05; done\necho \"done 1\" >&3\n"
                "while [ ! -e " + m_drive + "/end ]; do sleep 0.05; done");
    DialogHarness harness(backup());
    const auto stalled = [&harness] {
        return harness.m_root.onGuiThread([&harness] {
            for (const StaticText* text : findAll<StaticText>(harness.topDialog()))
                if (text->getText().orig().find(L"no progress for") != std::wstring::npos)
                    return true;
            return false;
        });
    };
    EXPECT_TRUE(eventually(stalled));
    m_dir.write("drive/go", "");
    EXPECT_TRUE(eventually([&] { return !stalled(); }));
    m_dir.write("drive/end", "");
    EXPECT_EQ(BackupOutcome::COMPLETED, harness.answer());
}

namespace {

// Whether the top dialog shows text, asked on the GUI thread.
bool shows(DialogHarness& harness, const std::wstring& text)
{
    return harness.m_root.onGuiThread(
        [&] { return findShowing(harness.topDialog(), text) != nullptr; });
}

} // namespace

// Through the page: a failed unmount is told, whatever the backup's outcome,
// and a failure question carries the script's reason; the page comes back.
TEST(LifeboatBackupTest, UnmountFailureAndTheScriptsReasonReachTheOperator)
{
    TempDir dir;
    ScopedEnv realDrive("OKU_FAKE_EXTDISK", nullptr);
    const FileFinder savedFinder = s_scriptFinder;
    s_scriptFinder.setPath(dir.path());
    ExternalDisk::s_global = new ExternalDisk(FileFinder(dir.path()));
    const std::wstring unmountFailed = L"The USB drive could not be unmounted.\n\nDo not remove it "
                                       L"before the device is switched off.";
    // The dialogs in turn, each with the button that answers it.
    typedef std::vector<std::pair<std::wstring, std::wstring>> Dialogs;
    const struct { const char* backup; Dialogs dialogs; } cases[] = {
        {"exit 0", {{unmountFailed, L"OK"}, {L"Emergency backup completed.", L"OK"}}},
        {"echo \"$0: not mounted: $1\" >&2; exit 1",
         {{unmountFailed, L"OK"},
          {L"Emergency backup failed!\n\nTry again?\n\nThe USB drive is not mounted.", L"No"}}},
    };
    for (const auto& c : cases) {
        for (const auto& [name, body] : {std::make_pair("mount-extdisk.sh", "exit 0"),
                                         std::make_pair("umount-extdisk.sh", "exit 1"),
                                         std::make_pair("emergency-backup.sh", c.backup)}) {
            dir.write(name, std::string("#!/bin/sh\n") + body + "\n");
            ASSERT_EQ(0, chmod((dir / name).c_str(), 0755));
        }
        DialogHarness harness([](Widget* top) {
            new LifeboatScreen(top, L"");
            return 0;
        });
        ASSERT_EQ(0, harness.answer());
        harness.send(L"Emergency Backup");
        for (const auto& [dialog, answer] : c.dialogs) {
            ASSERT_TRUE(eventually([&] { return shows(harness, dialog); })) << c.backup;
            harness.send(answer);
        }
        EXPECT_TRUE(eventually([&] { return shows(harness, L"Reboot"); }));
        EXPECT_FALSE(ExternalDisk::g().isMounted());
    }
    delete ExternalDisk::s_global;
    ExternalDisk::s_global = nullptr;
    s_scriptFinder = savedFinder;
}
