#include "core/Directories.h"

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/Paths.h"
#include "TempDir.h"

using namespace OKU;

namespace {

template <class T>
std::vector<T> sorted(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

typedef std::vector<std::string> Names;

// Sets or unsets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        const char* previous = getenv(name);
        m_hadValue = previous != nullptr;
        if (m_hadValue)
            m_previous = previous;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ~ScopedEnv()
    {
        if (m_hadValue)
            setenv(m_name, m_previous.c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_hadValue;
    std::string m_previous;
};

} // namespace

TEST(DirectoriesTest, MakeDirTreeCreatesEveryMissingLevel)
{
    TempDir tmp;
    EXPECT_TRUE(makeDirTree(tmp / "a/b/c/"));
    EXPECT_TRUE(pathIsDirectory(tmp / "a"));
    EXPECT_TRUE(pathIsDirectory(tmp / "a/b"));
    EXPECT_TRUE(pathIsDirectory(tmp / "a/b/c"));
    EXPECT_TRUE(makeDirTree(tmp / "a/b//"));

    tmp.write("file", "");
    EXPECT_FALSE(makeDirTree(tmp / "file"));
    EXPECT_FALSE(makeDirTree(tmp / "file/sub"));
    EXPECT_FALSE(makeDirTree(""));
    EXPECT_FALSE(makeDirTree("///"));

    {
        WorkingDirectory cwd(tmp.path());
        EXPECT_TRUE(makeDirTree("relative/x"));
    }
    EXPECT_TRUE(pathIsDirectory(tmp / "relative/x"));

    EXPECT_FALSE(makeDir(tmp / "a"));
    EXPECT_FALSE(removeDir(tmp / "a"));
    EXPECT_TRUE(removeDir(tmp / "relative/x"));
    EXPECT_TRUE(removeFile(tmp / "relative"));
    EXPECT_FALSE(removeFile(tmp / "relative"));
}

TEST(DirectoriesTest, RemoveTreeLeavesLinkedDirectoriesAlone)
{
    TempDir tmp;
    ASSERT_TRUE(makeDirTree(tmp / "outside"));
    tmp.write("outside/keep", "keep");
    ASSERT_TRUE(makeDirTree(tmp / "tree/sub/deeper"));
    tmp.write("tree/file", "");
    tmp.write("tree/sub/file", "");
    tmp.write("tree/sub/deeper/file", "");
    ASSERT_EQ(0, symlink((tmp / "outside/keep").c_str(), (tmp / "tree/fileLink").c_str()));

    EXPECT_TRUE(removeTree(tmp / "tree", false));
    EXPECT_TRUE(pathIsDirectory(tmp / "tree"));
    Names entries;
    ASSERT_TRUE(getDirectory(tmp / "tree", &entries, &entries, &entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ("keep", tmp.read("outside/keep"));

    ASSERT_TRUE(makeDirTree(tmp / "tree/sub"));
    ASSERT_EQ(0, symlink((tmp / "outside").c_str(), (tmp / "tree/sub/dirLink").c_str()));
    EXPECT_FALSE(removeTree(tmp / "tree", true));
    EXPECT_EQ("keep", tmp.read("outside/keep"));
    EXPECT_TRUE(pathExists(tmp / "tree/sub/dirLink"));

    EXPECT_FALSE(removeTree(tmp / "missing", true));
}

TEST(DirectoriesTest, TemporaryNamesFollowTheTemplate)
{
    {
        ScopedEnv noTmpDir("TMPDIR", nullptr);
        const std::string file = createTempFile("", ".dat");
        EXPECT_TRUE(std::regex_match(file, std::regex("/tmp/tmp\\.[A-Za-z0-9]{8}\\.dat")))
            << file;
        EXPECT_TRUE(pathIsFile(file));
        EXPECT_EQ(0, fileModificationTime(file).nanoseconds);
        struct stat info;
        ASSERT_EQ(0, stat(file.c_str(), &info));
        EXPECT_EQ(0, info.st_size);
        EXPECT_TRUE(removeFile(file));
    }

    TempDir tmp;
    {
        ScopedEnv tmpDir("TMPDIR", tmp.path().c_str());
        const std::string first = createTempFile("", "");
        const std::string second = createTempFile("", "");
        EXPECT_TRUE(std::regex_match(first, std::regex(tmp.path() + "/tmp\\.[A-Za-z0-9]{8}")))
            << first;
        EXPECT_NE(first, second);
        EXPECT_TRUE(pathIsFile(second));

        const std::string dir = createTempDir("");
        EXPECT_TRUE(std::regex_match(dir, std::regex(tmp.path() + "/tmp\\.[A-Za-z0-9]{8}")))
            << dir;
        EXPECT_TRUE(pathIsDirectory(dir));
    }

    ASSERT_TRUE(makeDir(tmp / "explicit"));
    const std::string inside = createTempFile(tmp / "explicit", ".png");
    EXPECT_EQ(tmp / "explicit", pathDirName(inside));
    EXPECT_EQ(".png", fileNameExtension(inside));
    EXPECT_TRUE(pathIsDirectory(pathDirName(createTempDir(tmp / "explicit"))));

    EXPECT_EQ("", createTempFile(tmp / "missing", ".dat"));
    EXPECT_EQ("", createTempDir(tmp / "missing"));
}

TEST(DirectoriesTest, GetDirectorySortsEntriesByType)
{
    TempDir tmp;
    tmp.write("file", "");
    ASSERT_TRUE(makeDir(tmp / "dir"));
    ASSERT_EQ(0, symlink((tmp / "file").c_str(), (tmp / "fileLink").c_str()));
    ASSERT_EQ(0, symlink((tmp / "dir").c_str(), (tmp / "dirLink").c_str()));
    ASSERT_EQ(0, symlink((tmp / "missing").c_str(), (tmp / "dangling").c_str()));
    ASSERT_EQ(0, mkfifo((tmp / "fifo").c_str(), 0600));

    Names files = {"stale"};
    Names dirs = {"stale"};
    Names others = {"stale"};
    ASSERT_TRUE(getDirectory(tmp.path(), &files, &dirs, &others));
    EXPECT_EQ(Names({"file", "fileLink"}), sorted(files));
    EXPECT_EQ(Names({"dir"}), dirs);
    EXPECT_EQ(Names({"dangling", "dirLink", "fifo"}), sorted(others));

    ASSERT_TRUE(getDirectory(tmp.path(), nullptr, &dirs, nullptr));
    EXPECT_EQ(Names({"dir"}), dirs);

    {
        WorkingDirectory cwd(tmp.path());
        ASSERT_TRUE(getDirectory("", &files, nullptr, nullptr));
    }
    EXPECT_EQ(Names({"file", "fileLink"}), sorted(files));

    EXPECT_FALSE(getDirectory(tmp / "missing", &files, &dirs, &others));
    EXPECT_TRUE(files.empty() && dirs.empty() && others.empty());
}

TEST(DirectoriesTest, FileListsMatchExtensionsOnlyAtTheEnd)
{
    TempDir tmp;
    for (const char* name : {"icon.png", "a.png.png", "b.txt", "png", u8"Gr\u00fc\u00dfe.png"})
        tmp.write(name, "");
    ASSERT_TRUE(makeDir(tmp / "dir.png"));

    Names names = {"stale"};
    ASSERT_TRUE(getFileList(names, tmp.path()));
    EXPECT_EQ(Names({u8"Gr\u00fc\u00dfe.png", "a.png.png", "b.txt", "icon.png", "png"}),
              sorted(names));

    ASSERT_TRUE(getFileList(names, tmp.path(), ".png"));
    EXPECT_EQ(Names({u8"Gr\u00fc\u00dfe", "icon"}), sorted(names));

    std::vector<std::wstring> wide;
    ASSERT_TRUE(getFileList(wide, tmp.path(), ".png"));
    EXPECT_EQ(std::vector<std::wstring>({L"Gr\u00fc\u00dfe", L"icon"}), sorted(wide));
    ASSERT_TRUE(getFileList(wide, tmp.path()));
    EXPECT_EQ(5u, wide.size());

    EXPECT_FALSE(getFileList(names, tmp / "missing", ".png"));
    EXPECT_FALSE(getFileList(wide, tmp / "missing"));
    EXPECT_TRUE(wide.empty());
}

TEST(DirectoriesTest, WinExtsJoinPatterns)
{
    std::string first = "untouched";
    EXPECT_EQ("", createWinExts({}, &first));
    EXPECT_EQ("untouched", first);
    EXPECT_EQ("*.png;*.jpg", createWinExts({".png", ".jpg"}, &first));
    EXPECT_EQ("*.png", first);
    EXPECT_EQ("*.cpm", createWinExts({".cpm"}, nullptr));
}
