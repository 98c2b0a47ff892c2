#include "core/Paths.h"

#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>
#include <tuple>
#include <gtest/gtest.h>

#include "TempDir.h"

using namespace OKU;

TEST(PathsTest, EmptyVariablesCountAsSetAndNamesSplitAtTheLastSeparator)
{
    const char* name = "OKU_PATHS_TEST_VARIABLE";
    for (const char* value : {static_cast<const char*>(nullptr), "", "value"}) {
        ScopedEnv env(name, value);
        EXPECT_EQ(value ? value : "fallback", getEnv(name, "fallback"));
    }
    typedef std::string (*Split)(const std::string&);
    const std::tuple<Split, const char*, const char*> cases[] = {
        {pathDirName, "file", ""},  {pathDirName, "/a", ""},        {pathDirName, "a/b/c", "a/b"},
        {pathDirName, "dir/", "dir"}, {pathBaseName, "dir/", ""},   {pathBaseName, "file", "file"},
        {pathBaseName, "/a/b/c", "c"}, {fileNameExtension, "archive.tar.gz", ".gz"},
        {fileNameExtension, "README", ""}, {fileNameExtension, "a.b/c", ".b/c"},
        {fileNameBase, "archive.tar.gz", "archive.tar"}, {fileNameBase, "README", "README"},
        {fileNameBase, ".profile", ""}};
    for (const auto& [split, path, expected] : cases)
        EXPECT_EQ(expected, split(path)) << path;
}

TEST(PathsTest, TypeTestsFollowLinksOnlyWhenAskedAndTimesHaveWholeSeconds)
{
    TempDir tmp;
    // A backup archive can pass 2 GiB; on a 32-bit system only large-file
    // support lets stat describe it.
    tmp.write("file", "x");
    ASSERT_EQ(0, truncate((tmp / "file").c_str(), (static_cast<off_t>(1) << 31) + 1));
    ASSERT_EQ(0, mkdir((tmp / "dir").c_str(), 0777));
    for (const char* target : {"file", "dir", "missing"})
        ASSERT_EQ(0, symlink((tmp / target).c_str(), (tmp / target + "Link").c_str()));
    // Name, exists, is a file, is a directory, and the latter two without following links.
    const std::tuple<std::string, bool, bool, bool, bool, bool> cases[] = {
        {"file", true, true, false, true, false},         {"dir", true, false, true, false, true},
        {"fileLink", true, true, false, false, false},    {"dirLink", true, false, true, false, false},
        {"missingLink", false, false, false, false, false}, {"missing", false, false, false, false, false}};
    for (const auto& [name, exists, file, directory, fileItself, directoryItself] : cases) {
        const std::string path = tmp / name;
        EXPECT_EQ(std::make_tuple(exists, file, directory, fileItself, directoryItself),
                  std::make_tuple(pathExists(path), pathIsFile(path), pathIsDirectory(path),
                                  pathIsFile(path, false), pathIsDirectory(path, false)))
            << name;
    }

    const timeval times[2] = {{1000000000, 0}, {1234567890, 654321}};
    ASSERT_EQ(0, utimes((tmp / "file").c_str(), times));
    EXPECT_EQ(TimeSpec(1234567890, 0), fileModificationTime(tmp / "file"));
    EXPECT_EQ(TimeSpec(0, 0), fileModificationTime(tmp / "missing"));
}
