#ifndef LIFEBOAT_BACKUPPROGRESS_H
#define LIFEBOAT_BACKUPPROGRESS_H

#include <string>

/// What the backup script has reported of its work. It writes lines on the
/// descriptor named by LIFEBOAT_PROGRESS_FD:
///
///     stage saving | stage checking   what it does now; a new stage starts
///                                     its amounts again from 0
///     total BYTES                     the size of what this stage handles
///     done BYTES                      how much of it is done so far
///     partial PATH                    the temporary file it has created
///
/// Unknown or malformed lines are ignored, so that scripts may say more.
struct BackupProgress {
    enum Stage { SAVING, CHECKING };

    Stage stage = SAVING;
    unsigned long long total = 0;
    unsigned long long done = 0;
    std::string partialPath;

    /// Takes one line; false when it is not one of the above.
    bool apply(const std::string& line);
};

#endif
