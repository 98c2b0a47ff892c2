#include "core/Directories.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <regex>
#include <string>
#include <vector>
#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include "TempDir.h"
#include "core/Paths.h"

using namespace OKU;

namespace {

typedef std::vector<std::string> Names;

template <class T>
std::vector<T> sorted(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

// Entries readdir still returns before it fails with EOVERFLOW, as it does on
// a 32-bit system for 64-bit inode numbers; below 0 it never fails.
std::atomic<int> g_readdirFailsAfter{-1};

} // namespace

// Takes the place of the C library's readdir (readdir64 in 32-bit builds with
// large-file support: the declaration renames both) for this program.
extern "C" dirent* readdir(DIR* dir)
{
    typedef dirent* (*Readdir)(DIR*);
    static const Readdir next = reinterpret_cast<Readdir>(dlsym(RTLD_NEXT, "readdir64"));
    if (g_readdirFailsAfter.load() == 0) {
        errno = EOVERFLOW;
        return nullptr;
    }
    if (g_readdirFailsAfter.load() > 0)
        --g_readdirFailsAfter;
    return next(dir);
}

TEST(DirectoriesTest, MakeAndRemoveTreesAndTemporaryNames)
{
    TempDir tmp;
    EXPECT_TRUE(makeDirTree(tmp / "a/b/c/"));
    EXPECT_TRUE(makeDirTree(tmp / "a/b//"));
    tmp.write("file", "");
    for (const std::string& bad :
         {tmp / "file", tmp / "file/sub", std::string(), std::string("///")})
        EXPECT_FALSE(makeDirTree(bad)) << bad;
    WorkingDirectory cwd(tmp.path());
    EXPECT_TRUE(makeDirTree("relative/x"));
    EXPECT_FALSE(makeDir(tmp / "a") || removeDir(tmp / "a"));
    EXPECT_TRUE(removeFile(tmp / "relative/x"));
    EXPECT_FALSE(removeFile(tmp / "relative/x"));
    // Links are removed, never followed.
    for (const char* name : {"keep", "a/file", "a/b/c/file"})
        tmp.write(name, "keep");
    ASSERT_EQ(0, symlink((tmp / "keep").c_str(), (tmp / "a/fileLink").c_str()));
    EXPECT_TRUE(removeTree(tmp / "a", false));
    Names entries;
    ASSERT_TRUE(getDirectory(tmp / "a", &entries, &entries, &entries));
    EXPECT_TRUE(entries.empty());
    ASSERT_TRUE(makeDirTree(tmp / "a/sub"));
    ASSERT_EQ(0, symlink(tmp.path().c_str(), (tmp / "a/sub/dirLink").c_str()));
    EXPECT_FALSE(removeTree(tmp / "a", true));
    EXPECT_TRUE(pathExists(tmp / "a/sub/dirLink"));
    EXPECT_EQ("keep", tmp.read("keep"));
    EXPECT_FALSE(removeTree(tmp / "missing", true));

    const std::string name = "/tmp\\.[A-Za-z0-9]{8}";
    ScopedEnv tmpDir("TMPDIR", (tmp / "ignored").c_str());
    const std::string first = createTempFile(tmp.path(), "");
    EXPECT_TRUE(std::regex_match(first, std::regex(tmp.path() + name))) << first;
    EXPECT_NE(first, createTempFile(tmp.path(), ""));
    const std::string dir = createTempDir(tmp.path());
    EXPECT_TRUE(std::regex_match(dir, std::regex(tmp.path() + name)) && pathIsDirectory(dir))
        << dir;
    setenv("TMPDIR", dir.c_str(), 1);
    EXPECT_EQ(dir, pathDirName(createTempFile("", "")));
    EXPECT_EQ("", createTempFile(tmp / "missing", ".dat"));
    EXPECT_EQ("", createTempDir(tmp / "missing"));
}

TEST(DirectoriesTest, ListingsSortEntriesByTypeAndMatchExtensionsAtTheEnd)
{
    TempDir tmp;
    for (const char* name : {"icon.png", "a.png.png", "png", u8"Gr\u00fc\u00dfe.png"})
        tmp.write(name, "");
    ASSERT_TRUE(makeDir(tmp / "dir.png"));
    for (const auto& [target, link] : {std::pair<const char*, const char*>{"png", "fileLink"},
                                       {"dir.png", "dirLink"},
                                       {"missing", "dangling"}})
        ASSERT_EQ(0, symlink((tmp / target).c_str(), (tmp / link).c_str()));
    ASSERT_EQ(0, mkfifo((tmp / "fifo").c_str(), 0600));
    const Names files = {u8"Gr\u00fc\u00dfe.png", "a.png.png", "fileLink", "icon.png", "png"};
    Names found = {"stale"}, dirs = {"stale"}, others = {"stale"};
    ASSERT_TRUE(getDirectory(tmp.path(), &found, &dirs, &others));
    EXPECT_EQ(files, sorted(found));
    EXPECT_EQ(Names({"dir.png"}), dirs);
    EXPECT_EQ(Names({"dangling", "dirLink", "fifo"}), sorted(others));
    WorkingDirectory cwd(tmp.path());
    ASSERT_TRUE(getDirectory("", nullptr, &dirs, nullptr));
    EXPECT_EQ(Names({"dir.png"}), dirs);
    EXPECT_FALSE(getDirectory(tmp / "missing", &found, &dirs, &others));
    EXPECT_TRUE(found.empty() && dirs.empty() && others.empty());
    // A listing that breaks off is a failure, not a shorter list.
    for (int entries : {0, 3}) {
        g_readdirFailsAfter = entries;
        EXPECT_FALSE(getDirectory(tmp.path(), &found, &dirs, &others)) << entries;
        EXPECT_TRUE(found.empty() && dirs.empty() && others.empty());
    }
    g_readdirFailsAfter = -1;

    found = {"stale"};
    ASSERT_TRUE(getFileList(found, tmp.path()));
    EXPECT_EQ(files, sorted(found));
    ASSERT_TRUE(getFileList(found, tmp.path(), ".png"));
    EXPECT_EQ(Names({u8"Gr\u00fc\u00dfe", "icon"}), sorted(found));
    std::vector<std::wstring> wide;
    ASSERT_TRUE(getFileList(wide, tmp.path(), ".png"));
    EXPECT_EQ(std::vector<std::wstring>({L"Gr\u00fc\u00dfe", L"icon"}), sorted(wide));
    EXPECT_FALSE(getFileList(wide, tmp / "missing"));
    EXPECT_TRUE(wide.empty());

    std::string first = "untouched";
    EXPECT_EQ("", createWinExts({}, &first));
    EXPECT_EQ("untouched", first);
    EXPECT_EQ("*.png;*.jpg", createWinExts({".png", ".jpg"}, &first));
    EXPECT_EQ("*.png", first);
}
