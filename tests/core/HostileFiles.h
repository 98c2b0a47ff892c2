#ifndef OKU_TESTS_CORE_HOSTILEFILES_H
#define OKU_TESTS_CORE_HOSTILEFILES_H

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "TempDir.h"

// What another program may leave where a reader expects a file: a FIFO
// without a writer, links to devices that never end, a directory, and a
// sparse regular file one byte over the reader's limit.
inline std::vector<std::string> makeHostileFiles(const TempDir& tmp, std::uint64_t limit)
{
    EXPECT_EQ(0, mkfifo((tmp / "fifo").c_str(), 0600));
    EXPECT_EQ(0, symlink("/dev/zero", (tmp / "zero").c_str()));
    EXPECT_EQ(0, symlink("/dev/urandom", (tmp / "urandom").c_str()));
    EXPECT_EQ(0, mkdir((tmp / "directory").c_str(), 0700));
    tmp.write("large", "");
    EXPECT_EQ(0, truncate((tmp / "large").c_str(), static_cast<off_t>(limit + 1)));
    return {tmp / "fifo", tmp / "zero", tmp / "urandom", tmp / "directory", tmp / "large"};
}

// Runs read in a child and succeeds when it returns false within two
// seconds: a reader that blocks or reads without end is killed and fails
// the test instead of hanging it.
inline testing::AssertionResult refusedQuickly(const std::function<bool()>& read)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(read() ? 1 : 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return testing::AssertionFailure() << "still reading after 2 s";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return testing::AssertionSuccess();
    if (WIFEXITED(status))
        return testing::AssertionFailure() << "accepted";
    return testing::AssertionFailure() << "ended by signal " << WTERMSIG(status);
}

#endif
