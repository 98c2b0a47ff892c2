#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

#include "core/Time.h"
#include "gui/TestRootWidget.h"

using namespace OKU;

namespace {

const char* const c_disable = "OKU_DISABLE_WATCHDOG";

bool threadNamed(const std::string& name)
{
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string commName;
        if (std::getline(comm, commName) && commName == name)
            return true;
    }
    return false;
}

} // namespace

TEST(WatchdogTest, VariableDisablesItEvenTwice)
{
    setenv(c_disable, "", 1);
    TestRootWidget root;
    root.enableWatchdog(5);
    root.enableWatchdog(5);
    EXPECT_EQ(0, root.getWatchdogTimeout());
    EXPECT_FALSE(threadNamed("SOLGUI_Watchdog"));
}

TEST(WatchdogTest, RunsInANamedThreadKeepsTheTimeoutGivenAndCannotBeEnabledTwice)
{
    unsetenv(c_disable);
    TestRootWidget root;
    expectFatalError(
        [&root] {
            root.enableWatchdog(1000);
            bool named = false;
            for (int tries = 0; tries < 500 && !named; ++tries) {
                named = threadNamed("SOLGUI_Watchdog");
                sleepMilliseconds(10);
            }
            const bool keptTimeout = root.getWatchdogTimeout() == 1000;
            root.resetWatchdog(7);
            const bool reset = root.getWatchdogTimeout() == 7;
            fprintf(stderr, "%s\n", named && keptTimeout && reset ? "ok" : "wrong");
            root.enableWatchdog(1000);
        },
        "RootWidget::enableWatchdog: already enabled", "ok\n.*");
}

// A handler stuck in one event aborts; a loop that keeps moving, or a zero
// timeout, never does.
TEST(WatchdogTest, AbortsOnlyForAHandlerStuckInOneEvent)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    unsetenv(c_disable);
    TestRootWidget root;
    const auto watched = [&root](const std::function<void()>& work) {
        root.start();
        root.enableWatchdog(1);
        work();
        sleepMilliseconds(60000);
        _exit(1);
    };
    const auto stuck = [&root] { root.injectFunction(nullptr, [] { sleepMilliseconds(10000); }); };
    EXPECT_EXIT(watched(stuck), ::testing::KilledBySignal(SIGABRT), "");
    EXPECT_EXIT(watched([&root] {
                    for (int n = 0; n < 8; ++n)
                        root.injectFunction(nullptr, [] { sleepMilliseconds(250); });
                    root.injectFunction(nullptr, [&root] { root.resetWatchdog(0); });
                    root.injectFunction(nullptr, [] { sleepMilliseconds(2500); });
                    root.injectFunction(nullptr, [] { _exit(0); });
                }),
                ::testing::ExitedWithCode(0), "");
}
