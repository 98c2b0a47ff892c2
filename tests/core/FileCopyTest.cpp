#include "core/FileCopy.h"

#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "core/Directories.h"
#include "core/Paths.h"
#include "TempDir.h"

using namespace OKU;

namespace {

// Binary data longer than one copy block.
std::string sampleData()
{
    std::string data;
    for (int i = 0; i < 20000; ++i)
        data += static_cast<char>(i * 7);
    return data;
}

} // namespace

TEST(FileCopyTest, CopyStreamCopiesEverythingAndReportsBadStreams)
{
    const std::string data = sampleData();
    std::istringstream in(data);
    std::ostringstream out;
    EXPECT_TRUE(copyStream(in, out));
    EXPECT_EQ(data, out.str());

    std::istringstream empty("");
    std::ostringstream emptyOut;
    EXPECT_TRUE(copyStream(empty, emptyOut));
    EXPECT_EQ("", emptyOut.str());

    std::istringstream again(data);
    std::ostream noBuffer(nullptr);
    EXPECT_FALSE(copyStream(again, noBuffer));

    std::istream badInput(nullptr);
    std::ostringstream unused;
    EXPECT_FALSE(copyStream(badInput, unused));
}

TEST(FileCopyTest, CopyFileReplacesTheWholeDestination)
{
    TempDir tmp;
    const std::string data = sampleData();
    tmp.write("from", data);
    ASSERT_TRUE(copyFile(tmp / "from", tmp / "to"));
    EXPECT_EQ(data, tmp.read("to"));

    tmp.write("short", "short");
    ASSERT_TRUE(copyFile(tmp / "short", tmp / "to"));
    EXPECT_EQ("short", tmp.read("to"));

    EXPECT_FALSE(copyFile(tmp / "missing", tmp / "other"));
    EXPECT_FALSE(copyFile(tmp / "from", tmp / "no/such/dir"));
    EXPECT_FALSE(copyFile(tmp / "from", tmp.path()));

    FileCopier copier(tmp / "from", tmp / "copied");
    EXPECT_TRUE(copier.copy());
    // A finished copier does not copy again.
    tmp.write("copied", "changed");
    EXPECT_TRUE(copier.copy());
    EXPECT_EQ("changed", tmp.read("copied"));
}

TEST(FileCopyTest, SyncCopyFileGoesThroughAFreshTemporaryFile)
{
    TempDir tmp;
    tmp.write("from", "new contents");
    tmp.write("to", "old contents");
    tmp.write("to.tmp", "stale and much longer than the new contents");

    ASSERT_TRUE(syncCopyFile(tmp / "from", tmp / "to", ".tmp"));
    EXPECT_EQ("new contents", tmp.read("to"));
    EXPECT_FALSE(pathExists(tmp / "to.tmp"));

    EXPECT_FALSE(syncCopyFile(tmp / "missing", tmp / "to", ".tmp"));
    EXPECT_EQ("new contents", tmp.read("to"));
    EXPECT_FALSE(pathExists(tmp / "to.tmp"));

    // A temporary name that cannot be removed stops the copy.
    ASSERT_TRUE(makeDirTree(tmp / "to.tmp/inside"));
    tmp.write("from", "newer");
    EXPECT_FALSE(syncCopyFile(tmp / "from", tmp / "to", ".tmp"));
    EXPECT_EQ("new contents", tmp.read("to"));
}

TEST(FileCopyTest, SyncRenameMovesFlushedFiles)
{
    TempDir tmp;
    tmp.write("a.new", "version 2");
    tmp.write("a", "version 1");
    ASSERT_TRUE(syncRename(tmp / "a.new", tmp / "a"));
    EXPECT_EQ("version 2", tmp.read("a"));
    EXPECT_FALSE(pathExists(tmp / "a.new"));

    EXPECT_FALSE(syncRename(tmp / "a.new", tmp / "a"));
    EXPECT_EQ("version 2", tmp.read("a"));

    tmp.write("b", "b");
    EXPECT_FALSE(syncRename(tmp / "b", tmp / "no/such/b"));
    EXPECT_TRUE(pathExists(tmp / "b"));

    EXPECT_TRUE(syncPath(tmp / "a"));
    EXPECT_TRUE(syncPath(tmp.path()));
    EXPECT_FALSE(syncPath(tmp / "missing"));
}

TEST(FileCopyTest, SyncRenameWithoutDirectoryUsesTheWorkingDirectory)
{
    TempDir tmp;
    tmp.write("c.new", "moved");
    {
        WorkingDirectory cwd(tmp.path());
        EXPECT_TRUE(syncRename("c.new", "c"));
    }
    EXPECT_EQ("moved", tmp.read("c"));
}
