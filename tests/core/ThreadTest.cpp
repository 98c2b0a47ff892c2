#include "core/Thread.h"

#include <fstream>
#include <string>
#include <thread>
#include <sys/syscall.h>
#include <unistd.h>
#include <gtest/gtest.h>

TEST(ThreadTest, NameIsVisibleToTheSystemAndCutToFifteenBytes)
{
    // In a thread of its own, so the test program keeps its name.
    std::thread([] {
        const std::string comm = "/proc/self/task/" + std::to_string(syscall(SYS_gettid)) + "/comm";
        for (const std::string name : {"SOLGUI_Watchdog", "a name far longer than sixteen bytes"}) {
            OKU::setThreadName(name);
            std::ifstream in(comm);
            std::string shown;
            std::getline(in, shown);
            EXPECT_EQ(name.substr(0, 15), shown);
        }
    }).join();
}
