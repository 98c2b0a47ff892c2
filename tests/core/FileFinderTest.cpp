#include "core/FileFinder.h"

#include <cstdio>

#include <gtest/gtest.h>

#include "core/Directories.h"
#include "core/FatalError.h"
#include "TempDir.h"

using namespace OKU;

namespace {

void printMessage(const char* message)
{
    fprintf(stderr, "handled: %s\n", message);
}

} // namespace

TEST(FileFinderTest, TriesDirectoriesInOrderAndEmptyPiecesAsTheBareName)
{
    TempDir tmp;
    ASSERT_TRUE(makeDir(tmp / "a"));
    ASSERT_TRUE(makeDir(tmp / "b"));
    ASSERT_TRUE(makeDir(tmp / "cwd"));
    tmp.write("a/x", "a");
    tmp.write("cwd/x", "cwd");
    tmp.write("b/x", "b");
    WorkingDirectory cwd(tmp / "cwd");

    const FileFinder finder(tmp / "a" + ";;" + tmp / "b");
    std::string result = "untouched";
    ASSERT_TRUE(finder.find("x", result));
    EXPECT_EQ(tmp / "a/x", result);

    ASSERT_TRUE(removeFile(tmp / "a/x"));
    ASSERT_TRUE(finder.find("x", result));
    EXPECT_EQ("x", result);

    ASSERT_TRUE(removeFile(tmp / "cwd/x"));
    ASSERT_TRUE(finder.find("x", result));
    EXPECT_EQ(tmp / "b/x", result);

    ASSERT_TRUE(removeFile(tmp / "b/x"));
    result = "untouched";
    EXPECT_FALSE(finder.find("x", result));
    EXPECT_EQ("untouched", result);
}

TEST(FileFinderTest, AbsoluteNamesArePrefixedToo)
{
    TempDir tmp;
    tmp.write("x", "");
    FileFinder finder(tmp.path());
    std::string result;
    EXPECT_FALSE(finder.find(tmp / "x", result));

    finder.setPath(tmp.path() + ";");
    ASSERT_TRUE(finder.find(tmp / "x", result));
    EXPECT_EQ(tmp / "x", result);

    // An empty search path has no pieces at all, not one empty piece.
    finder.setPath("");
    EXPECT_FALSE(finder.find(tmp / "x", result));
}

TEST(FileFinderTest, MissingFileIsFatalWithoutResultArgument)
{
    TempDir tmp;
    tmp.write("present", "");
    const FileFinder finder(tmp.path());
    EXPECT_EQ(tmp / "present", finder.find("present"));

    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setFatalErrorHandler(printMessage);
            finder.find("100%s missing");
        },
        ::testing::ExitedWithCode(1), "handled: Cannot find \"100%s missing\"");
}
