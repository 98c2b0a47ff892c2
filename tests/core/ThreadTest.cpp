#include "core/Thread.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <gtest/gtest.h>

using OKU::getThreadID;
using OKU::setThreadName;

namespace {

// The calling thread's name as the kernel reports it.
std::string kernelThreadName()
{
    const long tid = syscall(SYS_gettid);
    std::ifstream comm("/proc/self/task/" + std::to_string(tid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

} // namespace

TEST(ThreadTest, NameIsVisibleToTheSystemAndCutToFifteenBytes)
{
    // Run in threads of their own, so the test program keeps its name.
    std::thread([] {
        setThreadName("SOLGUI");
        EXPECT_EQ("SOLGUI", kernelThreadName());
        setThreadName("SOLGUI_Watchdog");
        EXPECT_EQ("SOLGUI_Watchdog", kernelThreadName());
        setThreadName("a name far longer than sixteen bytes");
        EXPECT_EQ("a name far long", kernelThreadName());
    }).join();
}

TEST(ThreadTest, IdIsPthreadSelfInLowerCaseHex)
{
    std::string mine = getThreadID();
    char expected[32];
    snprintf(expected, sizeof expected, "%lx", static_cast<unsigned long>(pthread_self()));
    EXPECT_EQ(expected, mine);
    EXPECT_EQ(std::string::npos, mine.find_first_not_of("0123456789abcdef"));

    std::string other;
    std::thread([&other] { other = getThreadID(); }).join();
    EXPECT_NE(mine, other);
    EXPECT_EQ(std::string::npos, other.find_first_not_of("0123456789abcdef"));
}
