#include "core/Paths.h"

#include <cstdlib>

#include <sys/stat.h>

namespace OKU {

namespace {

bool statPath(const std::string& path, bool followLinks, struct stat& info)
{
    return (followLinks ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info)) == 0;
}

} // namespace

std::string getEnv(const std::string& name, const std::string& defaultValue)
{
    const char* value = ::getenv(name.c_str());
    return value != nullptr ? std::string(value) : defaultValue;
}

bool pathExists(const std::string& path)
{
    struct stat info;
    return statPath(path, true, info);
}

bool pathIsFile(const std::string& path, bool followLinks)
{
    struct stat info;
    return statPath(path, followLinks, info) && S_ISREG(info.st_mode);
}

bool pathIsDirectory(const std::string& path, bool followLinks)
{
    struct stat info;
    return statPath(path, followLinks, info) && S_ISDIR(info.st_mode);
}

std::string pathDirName(const std::string& path)
{
    const std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string pathBaseName(const std::string& path)
{
    const std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string fileNameExtension(const std::string& path)
{
    const std::string::size_type dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string fileNameBase(const std::string& path)
{
    const std::string::size_type dot = path.rfind('.');
    return dot == std::string::npos ? path : path.substr(0, dot);
}

TimeSpec fileModificationTime(const std::string& path)
{
    struct stat info;
    if (!statPath(path, true, info))
        return TimeSpec();
    return TimeSpec(static_cast<int32_t>(info.st_mtime), 0);
}

} // namespace OKU
