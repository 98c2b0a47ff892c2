#include "core/FileCopy.h"

#include <csignal>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TempDir.h"

using namespace OKU;

namespace {

// Distinct lengths and fillers, so that a cut or mixed file matches none.
std::vector<std::string> makeVersions()
{
    std::vector<std::string> versions;
    for (int v = 0; v < 3; ++v) {
        std::string text = "BEGIN version " + std::to_string(v) + "\n";
        text += std::string(3000 + 1500 * v, static_cast<char>('a' + v));
        text += "\nEND version " + std::to_string(v) + "\n";
        versions.push_back(text);
    }
    return versions;
}

// The crash-safe replacement, forever; each completed replacement is reported
// with one byte on the pipe.
[[noreturn]] void rewriteForever(const std::string& path, const std::vector<std::string>& versions,
                                 int first, int reportFd)
{
    for (std::size_t k = first;; ++k) {
        {
            oufstream out(path + ".new", std::ios_base::out | std::ios_base::trunc);
            out << versions[k % versions.size()];
            out.close();
            if (out.fail())
                _exit(2);
        }
        if (!syncRename(path + ".new", path))
            _exit(3);
        if (write(reportFd, "r", 1) != 1)
            _exit(4);
    }
}

} // namespace

TEST(SyncRenameCrashTest, KilledWriterLeavesOneCompleteVersion)
{
    const std::vector<std::string> versions = makeVersions();
    TempDir tmp;
    const std::string path = tmp / "data";
    tmp.write("data.new", versions[0]);
    ASSERT_TRUE(syncRename(path + ".new", path));

    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delayMicroseconds(0, 5000);
    std::set<std::string> seen;
    const int kills = 200;
    for (int i = 0; i < kills; ++i) {
        int report[2];
        ASSERT_EQ(0, pipe(report));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(report[0]);
            rewriteForever(path, versions, i, report[1]);
        }
        close(report[1]);
        // Now and then let a replacement complete first, so that the file
        // keeps changing even when flushing to disk is slow.
        if (i % 10 == 0) {
            char byte;
            EXPECT_EQ(1, read(report[0], &byte, 1)) << "writer failed before its first rename";
        }
        usleep(delayMicroseconds(random));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        close(report[0]);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "writer ended by itself with status " << WEXITSTATUS(status);

        const std::string contents = tmp.read("data");
        ASSERT_TRUE(contents == versions[0] || contents == versions[1] || contents == versions[2])
            << "after kill " << i << " the file holds " << contents.size() << " bytes";
        seen.insert(contents);
    }
    EXPECT_GE(seen.size(), 2u);
}
