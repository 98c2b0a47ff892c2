#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "core/Time.h"
#include "gui/TestRootWidget.h"

using namespace OKU;

namespace {

const char* const c_disable = "OKU_DISABLE_WATCHDOG";

// Sets or clears the variable for one test and puts the old value back.
class WatchdogVariable {
public:
    explicit WatchdogVariable(const char* value)
    {
        const char* old = getenv(c_disable);
        m_hadValue = old != nullptr;
        if (m_hadValue)
            m_oldValue = old;
        if (value != nullptr)
            setenv(c_disable, value, 1);
        else
            unsetenv(c_disable);
    }
    ~WatchdogVariable()
    {
        if (m_hadValue)
            setenv(c_disable, m_oldValue.c_str(), 1);
        else
            unsetenv(c_disable);
    }

private:
    bool m_hadValue;
    std::string m_oldValue;
};

bool threadNamed(const std::string& name)
{
    DIR* tasks = opendir("/proc/self/task");
    bool found = false;
    while (dirent* entry = readdir(tasks)) {
        std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
        std::string commName;
        if (std::getline(comm, commName) && commName == name)
            found = true;
    }
    closedir(tasks);
    return found;
}

} // namespace

TEST(WatchdogTest, VariableDisablesItEvenTwice)
{
    WatchdogVariable variable("");
    TestRootWidget root;
    root.enableWatchdog(5);
    root.enableWatchdog(5);
    EXPECT_EQ(0, root.getWatchdogTimeout());
    EXPECT_FALSE(threadNamed("SOLGUI_Watchdog"));
}

TEST(WatchdogTest, EnablingTwiceIsFatal)
{
    WatchdogVariable variable(nullptr);
    TestRootWidget root;
    expectFatalError(
        [&root] {
            root.enableWatchdog(1000);
            root.enableWatchdog(1000);
        },
        "RootWidget::enableWatchdog: already enabled");
}

TEST(WatchdogTest, RunsInANamedThreadAndKeepsTheTimeoutGiven)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    WatchdogVariable variable(nullptr);
    TestRootWidget root;
    EXPECT_EXIT(
        {
            root.enableWatchdog(1000);
            bool named = false;
            for (int tries = 0; tries < 500 && !named; ++tries) {
                named = threadNamed("SOLGUI_Watchdog");
                sleepMilliseconds(10);
            }
            const bool keptTimeout = root.getWatchdogTimeout() == 1000;
            root.resetWatchdog(7);
            _exit(named && keptTimeout && root.getWatchdogTimeout() == 7 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(WatchdogTest, AHandlerStuckInOneEventAborts)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    WatchdogVariable variable(nullptr);
    TestRootWidget root;
    EXPECT_EXIT(
        {
            root.start();
            root.enableWatchdog(1);
            root.injectFunction(nullptr, [] { sleepMilliseconds(10000); });
            sleepMilliseconds(10000);
            _exit(0);
        },
        ::testing::KilledBySignal(SIGABRT), "");
}

TEST(WatchdogTest, ALoopThatKeepsMovingOrAZeroTimeoutNeverAborts)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    WatchdogVariable variable(nullptr);
    TestRootWidget root;
    EXPECT_EXIT(
        {
            root.start();
            root.enableWatchdog(1);
            for (int n = 0; n < 8; ++n)
                root.injectFunction(nullptr, [] { sleepMilliseconds(250); });
            root.injectFunction(nullptr, [&root] { root.resetWatchdog(0); });
            root.injectFunction(nullptr, [] { sleepMilliseconds(2500); });
            root.injectFunction(nullptr, [] { _exit(0); });
            sleepMilliseconds(60000);
            _exit(1);
        },
        ::testing::ExitedWithCode(0), "");
}
