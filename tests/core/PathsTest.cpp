#include "core/Paths.h"

#include <cstdlib>

#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TempDir.h"

using namespace OKU;

TEST(PathsTest, GetEnvCountsAnEmptyValueAsSet)
{
    const char* name = "OKU_PATHS_TEST_VARIABLE";
    unsetenv(name);
    EXPECT_EQ("fallback", getEnv(name, "fallback"));
    setenv(name, "", 1);
    EXPECT_EQ("", getEnv(name, "fallback"));
    setenv(name, "value", 1);
    EXPECT_EQ("value", getEnv(name, "fallback"));
    unsetenv(name);
}

TEST(PathsTest, TypeTestsFollowLinksOnlyWhenAsked)
{
    TempDir tmp;
    tmp.write("file", "x");
    ASSERT_EQ(0, mkdir((tmp / "dir").c_str(), 0777));
    ASSERT_EQ(0, symlink((tmp / "file").c_str(), (tmp / "fileLink").c_str()));
    ASSERT_EQ(0, symlink((tmp / "dir").c_str(), (tmp / "dirLink").c_str()));
    ASSERT_EQ(0, symlink((tmp / "missing").c_str(), (tmp / "danglingLink").c_str()));

    EXPECT_TRUE(pathExists(tmp / "file"));
    EXPECT_TRUE(pathExists(tmp / "dir"));
    EXPECT_FALSE(pathExists(tmp / "missing"));
    EXPECT_FALSE(pathExists(tmp / "danglingLink"));

    EXPECT_TRUE(pathIsFile(tmp / "file"));
    EXPECT_FALSE(pathIsFile(tmp / "dir"));
    EXPECT_TRUE(pathIsFile(tmp / "fileLink"));
    EXPECT_FALSE(pathIsFile(tmp / "fileLink", false));
    EXPECT_FALSE(pathIsFile(tmp / "missing"));

    EXPECT_TRUE(pathIsDirectory(tmp / "dir"));
    EXPECT_FALSE(pathIsDirectory(tmp / "file"));
    EXPECT_TRUE(pathIsDirectory(tmp / "dirLink"));
    EXPECT_FALSE(pathIsDirectory(tmp / "dirLink", false));
    EXPECT_TRUE(pathIsDirectory(tmp / "dir", false));
}

TEST(PathsTest, NamesSplitAtTheLastSeparator)
{
    EXPECT_EQ("", pathDirName("file"));
    EXPECT_EQ("", pathDirName("/a"));
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

TEST(PathsTest, ModificationTimeHasWholeSeconds)
{
    TempDir tmp;
    tmp.write("file", "x");
    const timeval times[2] = {{1000000000, 0}, {1234567890, 654321}};
    ASSERT_EQ(0, utimes((tmp / "file").c_str(), times));

    const TimeSpec modified = fileModificationTime(tmp / "file");
    EXPECT_EQ(1234567890, modified.seconds);
    EXPECT_EQ(0, modified.nanoseconds);

    EXPECT_EQ(TimeSpec(0, 0), fileModificationTime(tmp / "missing"));
}
