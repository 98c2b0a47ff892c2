#include "BackupWindow.h"

#include <csignal>

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "core/NumberConversion.h"
#include "core/Paths.h"
#include "core/Time.h"
#include "gui/layout/VSizer.h"
#include "gui/theme/Theme.h"
#include "gui/widgets/ProgressBar.h"
#include "gui/widgets/StaticText.h"
#include "gui/windows/MsgBox.h"
#include "text/Cache.h"
#include "text/Font.h"

#include "BackupFigures.h"
#include "BackupReason.h"

using namespace OKU;

const char* const BackupWindow::c_progressVariable = "LIFEBOAT_PROGRESS_FD";
const char* const BackupWindow::c_stallVariable = "LIFEBOAT_BACKUP_STALL_SECONDS";

namespace {

const int c_width = 500;
const int c_height = 300;
const int c_topSpace = 10;
const Color c_warningColor(255, 0, 0, 255);
// Remaining time is guessed only once there is something to go by.
const unsigned long long c_estimateAfterMs = 3000;

uint32_t stallLimitMs()
{
    const std::string text = getEnv(BackupWindow::c_stallVariable, "");
    int seconds = 0;
    if (text.empty() || !stringtoi(text, seconds) || seconds < 1 || seconds > 86400)
        seconds = BackupWindow::c_defaultStallSeconds;
    return static_cast<uint32_t>(seconds) * 1000;
}

// Free bytes on the drive; 0 when it cannot be asked (a pulled drive).
unsigned long long freeBytes(const std::string& root)
{
    struct statvfs info;
    if (statvfs(root.c_str(), &info) != 0)
        return 0;
    return static_cast<unsigned long long>(info.f_bfree) * info.f_frsize;
}

StaticText* addLine(Widget* parent, VSizer& column, const LString& text)
{
    StaticText* line = new StaticText(parent, text, HAlign::CENTER, VAlign::CENTER);
    column.add(line, 0, HAlign::STRETCH);
    return line;
}

LString stageText(BackupProgress::Stage stage)
{
    if (stage == BackupProgress::CHECKING)
        return LString(LString1(L"Checking the backup on the USB drive."));
    return LString(LString1(L"Performing emergency backup."));
}

} // namespace

BackupWindow::BackupWindow(Widget* parent, const LString& title, const std::string& script,
                           ExternalDisk::Session& disk, BackupOutcome& outcome)
    : CommonCancelWindow(parent, c_width, c_height, title),
      m_disk(disk),
      m_outcome(outcome),
      m_root(disk.getRoot()),
      m_child(std::make_unique<ChildProcess>(script, std::vector<std::string>{m_root},
                                             c_progressVariable)),
      m_startMs(monotonicMilliseconds()),
      m_lastActivityMs(m_startMs),
      m_driveFree(freeBytes(m_root)),
      m_stallMs(stallLimitMs())
{
    ContainerWidget* content = getContent();
    auto column = std::make_shared<VSizer>(true, false);
    column->addSpace(c_topSpace, 1);
    m_stageText = addLine(content, *column, stageText(m_progress.stage));
    StaticText* warning = addLine(content, *column, LString(LString1(L"Do not remove the USB drive!")));
    Theme* theme = Theme::g();
    warning->setFont(theme->getCache().getFont(theme->getSettings().textFontSize, true, false));
    column->addSpace(0, 1);
    m_bar = new ProgressBar(content);
    column->add(m_bar, 0, HAlign::STRETCH);
    m_figures = addLine(content, *column, LString());
    m_figures->setMinNumLines(2);
    m_stallText = addLine(content, *column, LString());
    m_stallText->setFontColor(c_warningColor);
    m_stallText->setMinNumLines(2);
    column->addSpace(0, 1);
    content->setSizer(column);
    showProgress(m_startMs);
    addTimeout(c_tickMs);
}

// The tick is the window's only timer.
void BackupWindow::onTimeout(int)
{
    tick();
}

void BackupWindow::tick()
{
    const bool ended = m_child->poll();
    for (const std::string& line : m_child->takeReportLines())
        m_progress.apply(line);
    const uint32_t now = monotonicMilliseconds();
    if (noteActivity())
        m_lastActivityMs = now;
    // A question still open decides first; its answer no longer matters then.
    if (ended && !m_asking) {
        finish();
        return;
    }
    if (m_stopping && !m_killed && now - m_stopMs >= static_cast<uint32_t>(c_killGraceMs)) {
        m_child->signalGroup(SIGKILL);
        m_killed = true;
    }
    m_bar->pulse();
    showProgress(now);
}

bool BackupWindow::noteActivity()
{
    const unsigned long long bytes = m_child->bytesReceived();
    const unsigned long long driveFree = freeBytes(m_root);
    const bool changed = bytes != m_bytesSeen || driveFree != m_driveFree;
    m_bytesSeen = bytes;
    m_driveFree = driveFree;
    return changed;
}

void BackupWindow::showProgress(uint32_t now)
{
    m_stageText->setText(stageText(m_progress.stage));
    m_bar->setProgress(m_progress.done, m_progress.total);
    const unsigned long long elapsedMs = now - m_startMs;
    LString times = LString(LString1(L"Elapsed: %1")).arg(durationText(elapsedMs / 1000));
    LString amount;
    if (m_progress.total > 0) {
        amount = LString(LString1(L"%1 of %2"))
                     .arg(sizeText(m_progress.done))
                     .arg(sizeText(m_progress.total));
        if (m_progress.done > 0 && m_progress.done < m_progress.total &&
            m_progress.stage == BackupProgress::SAVING && elapsedMs >= c_estimateAfterMs) {
            const unsigned long long leftSeconds =
                static_cast<unsigned long long>(static_cast<double>(elapsedMs) / 1000 *
                                                (m_progress.total - m_progress.done) /
                                                m_progress.done);
            times = LString(L"%1   %2").arg(times).arg(
                LString(LString1(L"About %1 left")).arg(durationText(leftSeconds)));
        }
    }
    m_figures->setText(LString(L"%1\n%2").arg(amount).arg(times));
    const uint32_t quietMs = now - m_lastActivityMs;
    if (quietMs >= m_stallMs)
        m_stallText->setText(LString(LString1(L"The backup has made no progress for %1 seconds."))
                                 .arg(LString::Number(quietMs / 1000, 0, L' ')));
    else
        m_stallText->setText(LString());
}

void BackupWindow::cancelClicked()
{
    if (m_asking || m_stopping || m_child->hasEnded())
        return;
    m_asking = true;
    const bool stop = msgBoxYesNo(getParent(), m_title, LString(LString1(L"Stop the backup?")));
    m_asking = false;
    if (!stop || m_child->hasEnded())
        return;
    m_stopping = true;
    m_stopMs = monotonicMilliseconds();
    m_child->signalGroup(SIGTERM);
}

void BackupWindow::finish()
{
    const int status = m_child->exitStatus();
    if (status == 0) {
        m_outcome.result = BackupOutcome::COMPLETED;
    } else {
        removePartialFile();
        m_outcome.result = m_stopping ? BackupOutcome::CANCELLED : BackupOutcome::FAILED;
        m_outcome.reason = backupFailureReason(m_child->errors());
    }
    m_outcome.unmounted = m_disk.umount();
    destroy();
}

void BackupWindow::removePartialFile() const
{
    const std::string& path = m_progress.partialPath;
    const std::string prefix = m_root + "/";
    if (path.compare(0, prefix.size(), prefix) != 0)
        return;
    const std::string name = path.substr(prefix.size());
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return;
    struct stat info;
    if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        unlink(path.c_str());
}
