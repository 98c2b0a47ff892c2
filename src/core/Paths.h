#ifndef OKU_CORE_PATHS_H
#define OKU_CORE_PATHS_H

#include <string>

#include "core/Time.h"

namespace OKU {

/// The variable's value when it is set, even to an empty text; else defaultValue.
std::string getEnv(const std::string& name, const std::string& defaultValue);

bool pathExists(const std::string& path);
bool pathIsFile(const std::string& path, bool followLinks = true);
bool pathIsDirectory(const std::string& path, bool followLinks = true);

/// Text before the last "/", or "" when there is none.
std::string pathDirName(const std::string& path);
/// Text after the last "/", or the whole path when there is none.
std::string pathBaseName(const std::string& path);
/// From the last "." (included) anywhere in the path, or "".
std::string fileNameExtension(const std::string& path);
/// Text before the last ".", or the whole path.
std::string fileNameBase(const std::string& path);

/// Whole seconds since the epoch (nanoseconds always 0); zero when stat fails.
TimeSpec fileModificationTime(const std::string& path);
/// Paths here have no short DOS form: the path itself.
inline std::string toDosShortPath(const std::string& path)
{
    return path;
}

} // namespace OKU

#endif
