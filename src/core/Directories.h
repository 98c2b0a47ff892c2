#ifndef OKU_CORE_DIRECTORIES_H
#define OKU_CORE_DIRECTORIES_H

#include <string>
#include <vector>

namespace OKU {


/// mkdir(2) with mode 0777.
bool makeDir(const std::string& path);
/// Creates path and every missing parent. Trailing "/" are ignored; an
/// existing path succeeds only when it is a directory. The root itself cannot
/// be created, so a missing directory directly below it fails.
bool makeDirTree(std::string path);
/// remove(3): a file or an empty directory.
bool removeFile(const std::string& path);
/// rmdir(2).
bool removeDir(const std::string& path);
/// Removes the regular files and subdirectories below path, and path itself
/// when removeTop is set. Symbolic links to directories and other special
/// entries are left in place (and make removing their directory fail).
bool removeTree(const std::string& path, bool removeTop);

/// A new empty file or directory named dir + "/tmp." + eight random characters
/// (+ suffix for files); dir defaults to $TMPDIR or "/tmp". "" on failure.
std::string createTempFile(std::string dir, const std::string& suffix);
std::string createTempDir(std::string dir);

/// Sorts the entries of dir (without "." and "..") by type, in directory
/// order: regular files (after following links), directories (not following
/// links) and everything else. An empty dir is the working directory. Each
/// given vector is emptied first; null ones are skipped. False, with every
/// list empty, when the directory cannot be opened or read to its end.
bool getDirectory(const std::string& dir, std::vector<std::string>* files,
                  std::vector<std::string>* dirs, std::vector<std::string>* others);

/// Replaces out by the names of the regular files of dir, in directory order.
inline bool getFileList(std::vector<std::string>& out, const std::string& dir)
{
    return getDirectory(dir, &out, nullptr, nullptr);
}
/// Only names ending in ext, where ext does not occur earlier in the name,
/// and stored without ext ("icon.png" gives "icon" for ".png").
bool getFileList(std::vector<std::string>& out, const std::string& dir, const std::string& ext);
/// As above with the names decoded from UTF-8.
bool getFileList(std::vector<std::wstring>& out, const std::string& dir);
bool getFileList(std::vector<std::wstring>& out, const std::string& dir, const std::string& ext);

/// "*" + each extension, joined with ";" ({".png", ".jpg"} gives
/// "*.png;*.jpg"); `*first`, when given and exts is not empty, receives "*" +
/// the first extension.
std::string createWinExts(const std::vector<std::string>& exts, std::string* first);

/// This platform has no file chooser dialogs: these return nothing chosen.
inline std::string showDirChooser(const std::string& /*title*/, const std::string& /*startDir*/)
{
    return std::string();
}
inline std::vector<std::string> showOpenFileChooser(const std::string& /*title*/,
                                                    const std::string& /*startDir*/,
                                                    const std::vector<std::string>& /*exts*/,
                                                    bool /*multiple*/)
{
    return std::vector<std::string>();
}
inline std::string showSaveFileChooser(const std::string& /*title*/, const std::string& /*startDir*/,
                                       const std::vector<std::string>& /*exts*/)
{
    return std::string();
}

} // namespace OKU

#endif
