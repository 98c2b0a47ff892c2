#include "core/Directories.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/Paths.h"
#include "core/Utf8.h"

namespace OKU {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
typedef std::unique_ptr<DIR, DirCloser> DirHandle;

const char c_tempTemplate[] = "tmp.XXXXXXXX";

std::string tempTemplate(const std::string& dir)
{
    return (dir.empty() ? getEnv("TMPDIR", "/tmp") : dir) + "/" + c_tempTemplate;
}

// True when ext first occurs in name exactly at its end.
bool hasOnlyTrailingExtension(const std::string& name, const std::string& ext)
{
    return name.size() >= ext.size() && name.find(ext) == name.size() - ext.size();
}

// The names decoded from UTF-8.
template <class Text>
std::vector<Text> decodeAll(const std::vector<std::string>& names)
{
    std::vector<Text> result;
    result.reserve(names.size());
    for (const std::string& name : names)
        result.push_back(Text(utf8Decode(name)));
    return result;
}

} // namespace

bool makeDir(const std::string& path)
{
    return ::mkdir(path.c_str(), 0777) == 0;
}

bool makeDirTree(std::string path)
{
    const std::string::size_type end = path.find_last_not_of('/');
    if (end == std::string::npos)
        return false;
    path.erase(end + 1);
    if (pathExists(path))
        return pathIsDirectory(path);
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos)
        return makeDir(path);
    return makeDirTree(path.substr(0, slash + 1)) && makeDir(path);
}

bool removeFile(const std::string& path)
{
    return ::remove(path.c_str()) == 0;
}

bool removeDir(const std::string& path)
{
    return ::rmdir(path.c_str()) == 0;
}

bool removeTree(const std::string& path, bool removeTop)
{
    std::vector<std::string> files;
    std::vector<std::string> dirs;
    if (!getDirectory(path, &files, &dirs, nullptr))
        return false;
    bool ok = true;
    for (const std::string& dir : dirs)
        ok = removeTree(path + "/" + dir, true) && ok;
    for (const std::string& file : files)
        ok = removeFile(path + "/" + file) && ok;
    if (removeTop)
        ok = removeDir(path) && ok;
    return ok;
}

std::string createTempFile(std::string dir, const std::string& suffix)
{
    std::string path = tempTemplate(dir) + suffix;
    const int fd = ::mkstemps(&path[0], static_cast<int>(suffix.size()));
    if (fd < 0)
        return std::string();
    ::close(fd);
    return path;
}

std::string createTempDir(std::string dir)
{
    std::string path = tempTemplate(dir);
    if (::mkdtemp(&path[0]) == nullptr)
        return std::string();
    return path;
}

bool getDirectory(const std::string& dir, std::vector<std::string>* files,
                  std::vector<std::string>* dirs, std::vector<std::string>* others)
{
    for (std::vector<std::string>* list : {files, dirs, others}) {
        if (list != nullptr)
            list->clear();
    }
    DirHandle handle(::opendir(dir.empty() ? "." : dir.c_str()));
    if (!handle)
        return false;
    // readdir tells an error from the end of the list only through errno.
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(handle.get());
        if (entry == nullptr)
            break;
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = dir.empty() ? name : dir + "/" + name;
        std::vector<std::string>* list = others;
        if (pathIsFile(path, true))
            list = files;
        else if (pathIsDirectory(path, false))
            list = dirs;
        if (list != nullptr)
            list->push_back(name);
    }
    if (errno == 0)
        return true;
    for (std::vector<std::string>* list : {files, dirs, others}) {
        if (list != nullptr)
            list->clear();
    }
    return false;
}

bool getFileList(std::vector<std::string>& out, const std::string& dir, const std::string& ext)
{
    std::vector<std::string> files;
    out.clear();
    if (!getFileList(files, dir))
        return false;
    for (const std::string& name : files) {
        if (hasOnlyTrailingExtension(name, ext))
            out.push_back(name.substr(0, name.size() - ext.size()));
    }
    return true;
}

bool getFileList(std::vector<std::wstring>& out, const std::string& dir)
{
    std::vector<std::string> names;
    const bool ok = getFileList(names, dir);
    out = decodeAll<std::wstring>(names);
    return ok;
}

bool getFileList(std::vector<std::wstring>& out, const std::string& dir, const std::string& ext)
{
    std::vector<std::string> names;
    const bool ok = getFileList(names, dir, ext);
    out = decodeAll<std::wstring>(names);
    return ok;
}

std::string createWinExts(const std::vector<std::string>& exts, std::string* first)
{
    std::string result;
    for (const std::string& ext : exts) {
        if (!result.empty())
            result += ";";
        result += "*" + ext;
    }
    if (first != nullptr && !exts.empty())
        *first = "*" + exts.front();
    return result;
}

} // namespace OKU
