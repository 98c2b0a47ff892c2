#ifndef OKU_CORE_FILECOPY_H
#define OKU_CORE_FILECOPY_H

#include <istream>
#include <ostream>
#include <string>

#include "core/FileStreams.h"

namespace OKU {

/// Copies everything from in to out in 8192-byte blocks; false as soon as the
/// input goes bad or fails before its end (a stream that has failed already
/// gives nothing more), or the output fails.
bool copyStream(std::istream& in, std::ostream& out);

/// One binary file copy. Both files are opened by the constructor (the
/// destination is created when missing and truncated when it exists); copy()
/// does the work once.
class FileCopier {
public:
    FileCopier(const std::string& from, const std::string& to);
    FileCopier(const FileCopier&) = delete;
    FileCopier& operator=(const FileCopier&) = delete;

    /// Does nothing after a failed open or a finished copy. Returns whether
    /// the copy has been done and succeeded.
    bool copy();

private:
    iufstream m_in;
    oufstream m_out;
    bool m_done = false;
    bool m_ok = true;
};

inline bool copyFile(const std::string& from, const std::string& to)
{
    return FileCopier(from, to).copy();
}

/// Copies from to to + suffix and moves that over to with syncRename, so that
/// to is always either the old or the complete new file. A stale to + suffix
/// is removed first.
bool syncCopyFile(const std::string& from, const std::string& to, const std::string& suffix);

/// Opens path read-only and fsyncs it (a file's data or a directory's entries).
bool syncPath(const std::string& path);
/// rename(2).
bool renamePath(const std::string& from, const std::string& to);
/// Crash-safe replacement: from is flushed to disk, renamed to to, and then the
/// directory of to is flushed, so that after a power cut to holds either its
/// old or its new contents, never a mixture or nothing.
bool syncRename(const std::string& from, const std::string& to);

} // namespace OKU

#endif
