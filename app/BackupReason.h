#ifndef LIFEBOAT_BACKUPREASON_H
#define LIFEBOAT_BACKUPREASON_H

#include <string>

#include "text/LString.h"

/// Why the backup script failed, for the operator: its last line on standard
/// error without the leading "PROGRAM: ", translated when it is one of the
/// script's known reasons:
///
///     no space: FREE bytes free, NEEDED bytes needed
///     read-only: TARGET
///     not mounted: TARGET
///     archive exists: PATH
///     read-back failed: PATH
///
/// and shown as it is otherwise. Empty when the script wrote nothing.
OKU::LString backupFailureReason(const std::string& errors);

#endif
