#include "core/FileFinder.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "core/Directories.h"

using namespace OKU;

TEST(FileFinderTest, TriesDirectoriesInOrderAndEmptyPiecesAsTheBareNameElseFails)
{
    TempDir tmp;
    for (const char* dir : {"a", "b", "cwd"}) {
        ASSERT_TRUE(makeDir(tmp / dir));
        tmp.write(std::string(dir) + "/x", dir);
    }
    WorkingDirectory cwd(tmp / "cwd");
    FileFinder finder(tmp / "a" + ";;" + tmp / "b");
    std::string result;
    for (const std::string& expected : {tmp / "a/x", std::string("x"), tmp / "b/x"}) {
        ASSERT_TRUE(finder.find("x", result));
        EXPECT_EQ(expected, result);
        ASSERT_TRUE(removeFile(expected));
    }
    result = "untouched";
    EXPECT_FALSE(finder.find("x", result));
    EXPECT_EQ("untouched", result);
    // Absolute names are prefixed too.
    tmp.write("x", "");
    finder.setPath(tmp.path());
    EXPECT_FALSE(finder.find(tmp / "x", result));
    EXPECT_EQ(tmp / "x", finder.find("x"));
    finder.setPath(tmp.path() + ";");
    ASSERT_TRUE(finder.find(tmp / "x", result));
    EXPECT_EQ(tmp / "x", result);
    // An empty search path has no pieces at all, not one empty piece.
    finder.setPath("");
    EXPECT_FALSE(finder.find(tmp / "x", result));

    expectSetupError([&finder] { finder.find("100%s missing"); },
                     "Cannot find \"100%s missing\" in no directory \\(the search path is empty\\)");
}

// Whoever installs the files learns from the message where they belong: the
// directories in order, relative ones below the working directory, and what
// sets them.
TEST(FileFinderTest, MessageNamesTheDirectoriesSearchedAndTheirOrigin)
{
    TempDir tmp;
    WorkingDirectory cwd(tmp.path());
    FileFinder finder("/opt/lb/fonts;;pixmaps", "KARO_LIFEBOAT");
    expectSetupError([&finder] { finder.find("green-x.png"); },
                     "Cannot find \"green-x.png\" in /opt/lb/fonts, " + tmp.path() + ", " +
                         tmp / "pixmaps" + " \\(set by KARO_LIFEBOAT\\)");
    finder.setPath("/opt/lb/fonts");
    expectSetupError([&finder] { finder.find("x"); }, "Cannot find \"x\" in /opt/lb/fonts");
}
