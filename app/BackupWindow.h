#ifndef LIFEBOAT_BACKUPWINDOW_H
#define LIFEBOAT_BACKUPWINDOW_H

#include <memory>
#include <string>

#include "ExternalDisk.h"
#include "core/ChildProcess.h"
#include "gui/windows/CommonWindow.h"

#include "BackupProgress.h"

namespace OKU {
class ProgressBar;
class StaticText;
} // namespace OKU

/// How a backup run ended, for the page's handler to report.
struct BackupOutcome {
    enum Result { COMPLETED, FAILED, CANCELLED };

    Result result = FAILED;
    /// Why it failed, from the script; empty when it gave no reason.
    OKU::LString reason;
    /// False when the drive could not be unmounted afterwards.
    bool unmounted = true;
};

/// The window shown while the backup script runs. It watches the script
/// without blocking the GUI, shows what it reports (see BackupProgress), or the
/// elapsed time and a moving block for a script that reports nothing, and
/// warns when nothing has happened for LIFEBOAT_BACKUP_STALL_SECONDS (default
/// 120). Cancel asks, then ends the script's process group (TERM, KILL after a
/// grace) and removes its temporary file. When the script has ended, the
/// window unmounts the drive, still shown so that the operator does not pull
/// it meanwhile, fills in the outcome and closes.
class BackupWindow : public OKU::CommonCancelWindow {
public:
    static const char* const c_progressVariable;
    static const char* const c_stallVariable;
    static const int c_defaultStallSeconds = 120;
    static const int c_tickMs = 250;
    static const int c_killGraceMs = 3000;

    /// Runs script with the drive's root as its argument; disk must be
    /// mounted and, like outcome, outlive the window.
    BackupWindow(OKU::Widget* parent, const OKU::LString& title, const std::string& script,
                 OKU::ExternalDisk::Session& disk, BackupOutcome& outcome);

    void onTimeout(int id) override;
    void cancelClicked() override;

private:
    void tick();
    /// Something happened since the last tick: a report, an error line, or
    /// a change of the drive's free space (which a silent script also makes).
    bool noteActivity();
    void showProgress(uint32_t now);
    void finish();
    /// The script's temporary file, if it reported one and left it behind.
    void removePartialFile() const;

    OKU::ExternalDisk::Session& m_disk;
    BackupOutcome& m_outcome;
    const std::string m_root;
    std::unique_ptr<OKU::ChildProcess> m_child;
    BackupProgress m_progress;
    OKU::StaticText* m_stageText;
    OKU::ProgressBar* m_bar;
    OKU::StaticText* m_figures;
    OKU::StaticText* m_stallText;
    uint32_t m_startMs;
    uint32_t m_lastActivityMs;
    unsigned long long m_bytesSeen = 0;
    unsigned long long m_driveFree = 0;
    uint32_t m_stallMs;
    bool m_asking = false;
    bool m_stopping = false;
    bool m_killed = false;
    uint32_t m_stopMs = 0;
};

#endif
