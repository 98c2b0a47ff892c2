#include "core/Paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>
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
    EXPECT_EQ("", pathDirName("file") + pathDirName("/a"));
    EXPECT_EQ("a/b", pathDirName("a/b/c"));
    EXPECT_EQ("dir", pathDirName("dir/"));
    EXPECT_EQ("", pathBaseName("dir/"));
    EXPECT_EQ("file", pathBaseName("file"));
    EXPECT_EQ("c", pathBaseName("/a/b/c"));
    EXPECT_EQ(".gz", fileNameExtension("archive.tar.gz"));
    EXPECT_EQ("", fileNameExtension("README"));
    EXPECT_EQ(".b/c", fileNameExtension("a.b/c"));
    EXPECT_EQ("archive.tar", fileNameBase("archive.tar.gz"));
    EXPECT_EQ("README", fileNameBase("README"));
    EXPECT_EQ("", fileNameBase(".profile"));
}

TEST(PathsTest, TypeTestsFollowLinksOnlyWhenAskedAndTimesHaveWholeSeconds)
{
    TempDir tmp;
    tmp.write("file", "x");
    ASSERT_EQ(0, mkdir((tmp / "dir").c_str(), 0777));
    for (const char* target : {"file", "dir", "missing"})
        ASSERT_EQ(0, symlink((tmp / target).c_str(), (tmp / target + "Link").c_str()));
    // Name, exists, is a file, is a directory, and the latter two without following links.
    const std::tuple<std::string, bool, bool, bool, bool, bool> cases[] = {
        {"file", true, true, false, true, false},         {"dir", true, false, true, false, true},
        {"fileLink", true, true, false, false, false},    {"dirLink", true, false, true, false, false},
        {"missingLink", false, false, false, false, false}, {"missing", false, false, false, false, false}};
    for (const auto& [name, exists, file, directory, fileItself, directoryItself] : cases) {
        EXPECT_EQ(exists, pathExists(tmp / name)) << name;
        EXPECT_EQ(file, pathIsFile(tmp / name)) << name;
        EXPECT_EQ(directory, pathIsDirectory(tmp / name)) << name;
        EXPECT_EQ(fileItself, pathIsFile(tmp / name, false)) << name;
        EXPECT_EQ(directoryItself, pathIsDirectory(tmp / name, false)) << name;
    }

    const timeval times[2] = {{1000000000, 0}, {1234567890, 654321}};
    ASSERT_EQ(0, utimes((tmp / "file").c_str(), times));
    EXPECT_EQ(TimeSpec(1234567890, 0), fileModificationTime(tmp / "file"));
    EXPECT_EQ(TimeSpec(0, 0), fileModificationTime(tmp / "missing"));
}

// A backup archive can pass 2 GiB; on a 32-bit system only large-file
// support lets stat describe it.
TEST(PathsTest, FilesOver2GiBAreFiles)
{
    TempDir tmp;
    const std::string archive = tmp / "backup.tar.gz";
    const int fd = open(archive.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_LE(0, fd);
    const bool sized = ftruncate(fd, (static_cast<off_t>(1) << 31) + 1) == 0;
    close(fd);
    ASSERT_TRUE(sized);
    EXPECT_TRUE(pathExists(archive));
    EXPECT_TRUE(pathIsFile(archive));
}
