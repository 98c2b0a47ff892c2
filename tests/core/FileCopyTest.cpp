#include "core/FileCopy.h"

#include <csignal>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include "TempDir.h"
#include "core/Directories.h"
#include "core/Paths.h"

using namespace OKU;

TEST(FileCopyTest, CopiesReplaceTheWholeDestinationOrLeaveIt)
{
    // Binary data longer than one copy block.
    std::string data;
    for (int i = 0; i < 20000; ++i)
        data += static_cast<char>(i * 7);
    std::istringstream in(data);
    std::ostringstream out;
    EXPECT_TRUE(copyStream(in, out));
    EXPECT_EQ(data, out.str());
    std::ostream noBuffer(nullptr);
    std::istream badInput(nullptr);
    EXPECT_FALSE(copyStream(in.seekg(0), noBuffer) || copyStream(badInput, out));
    // A stream that failed before its end gives nothing more; one at its end
    // has nothing more to give.
    std::istringstream failed(data);
    failed.setstate(std::ios_base::failbit);
    EXPECT_FALSE(copyStream(failed, out));
    std::istringstream ended("");
    ended.get();
    std::ostringstream nothing;
    EXPECT_TRUE(copyStream(ended, nothing));
    EXPECT_EQ("", nothing.str());

    TempDir tmp;
    tmp.write("from", data);
    ASSERT_TRUE(copyFile(tmp / "from", tmp / "to"));
    EXPECT_EQ(data, tmp.read("to"));
    tmp.write("short", "short");
    ASSERT_TRUE(copyFile(tmp / "short", tmp / "to"));
    EXPECT_EQ("short", tmp.read("to"));
    EXPECT_FALSE(copyFile(tmp / "missing", tmp / "other") ||
                 copyFile(tmp / "from", tmp / "no/such/dir"));
    // A finished copier does not copy again.
    FileCopier copier(tmp / "from", tmp / "copied");
    EXPECT_TRUE(copier.copy());
    tmp.write("copied", "changed");
    EXPECT_TRUE(copier.copy() && tmp.read("copied") == "changed");

    tmp.write("from", "new contents");
    tmp.write("to", "old contents");
    tmp.write("to.tmp", "stale and much longer than the new contents");
    ASSERT_TRUE(syncCopyFile(tmp / "from", tmp / "to", ".tmp"));
    EXPECT_EQ("new contents", tmp.read("to"));
    EXPECT_FALSE(syncCopyFile(tmp / "missing", tmp / "to", ".tmp") || pathExists(tmp / "to.tmp"));
    // A temporary name that cannot be removed stops the copy.
    ASSERT_TRUE(makeDirTree(tmp / "to.tmp/inside"));
    EXPECT_FALSE(syncCopyFile(tmp / "from", tmp / "to", ".tmp"));
    EXPECT_EQ("new contents", tmp.read("to"));

    tmp.write("a.new", "version 2");
    ASSERT_TRUE(syncRename(tmp / "a.new", tmp / "to"));
    EXPECT_TRUE(tmp.read("to") == "version 2" && !pathExists(tmp / "a.new"));
    EXPECT_FALSE(syncRename(tmp / "a.new", tmp / "to") ||
                 syncRename(tmp / "from", tmp / "no/such/b"));
    EXPECT_TRUE(pathExists(tmp / "from"));
    tmp.write("c.new", "moved");
    WorkingDirectory cwd(tmp.path());
    EXPECT_TRUE(syncRename("c.new", "c"));
    EXPECT_EQ("moved", tmp.read("c"));
    EXPECT_TRUE(syncPath("c") && syncPath(tmp.path()));
    EXPECT_FALSE(syncPath(tmp / "missing"));
}

TEST(FileCopyTest, KilledSyncRenameLeavesOneCompleteVersion)
{
    // Distinct lengths and fillers, so that a cut or mixed file matches none.
    std::vector<std::string> versions;
    for (int v = 0; v < 3; ++v)
        versions.push_back(std::to_string(v) +
                           std::string(3000 + 1500 * v, static_cast<char>('a' + v)) + "END\n");
    TempDir tmp;
    const std::string path = tmp / "data";
    tmp.write("data", versions[0]);

    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delayMicroseconds(0, 5000);
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        int report[2];
        ASSERT_EQ(0, pipe(report));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Replaces the file forever, reporting each replacement.
            for (std::size_t k = i;; ++k) {
                oufstream out(path + ".new", std::ios_base::out | std::ios_base::trunc);
                out << versions[k % versions.size()];
                out.close();
                if (out.fail() || !syncRename(path + ".new", path) || write(report[1], "r", 1) != 1)
                    _exit(2);
            }
        }
        close(report[1]);
        // Now and then let a replacement complete first, so that the file
        // keeps changing even when flushing to disk is slow.
        char byte;
        if (i % 10 == 0) {
            EXPECT_EQ(1, read(report[0], &byte, 1)) << "writer failed before its first rename";
        }
        usleep(delayMicroseconds(random));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        close(report[0]);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "writer ended by itself";
        const std::string contents = tmp.read("data");
        ASSERT_TRUE(contents == versions[0] || contents == versions[1] || contents == versions[2])
            << "after kill " << i << " the file holds " << contents.size() << " bytes";
        seen.insert(contents);
    }
    EXPECT_GE(seen.size(), 2u);
}
