#include "core/ChildProcess.h"

#include <csignal>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "core/Time.h"

#include "TempDir.h"

using OKU::ChildProcess;

namespace {

// Polls until the child has ended; false after ten seconds.
bool waitForEnd(ChildProcess& child)
{
    for (int i = 0; i < 1000; ++i) {
        if (child.poll())
            return true;
        OKU::sleepMilliseconds(10);
    }
    return false;
}

// The first line the child reports, waiting up to ten seconds for it.
std::string firstReportLine(ChildProcess& child)
{
    for (int i = 0; i < 1000; ++i) {
        child.poll();
        const std::vector<std::string> lines = child.takeReportLines();
        if (!lines.empty())
            return lines.front();
        OKU::sleepMilliseconds(10);
    }
    return std::string();
}

// A process gone, or left a zombie for its new parent to reap, within ten
// seconds: a signalled process may still be on its way out (slowly under an
// emulator) when its parent has already ended.
bool hasEnded(const std::string& pid)
{
    for (int i = 0; i < 1000; ++i) {
        std::ifstream stat("/proc/" + pid + "/stat");
        std::string fields;
        std::getline(stat, fields);
        if (!stat || fields.substr(fields.rfind(')') + 2, 1) == "Z")
            return true;
        OKU::sleepMilliseconds(10);
    }
    return false;
}

} // namespace

TEST(ChildProcessTest, ReportLinesErrorsAndStatusArriveWithoutBlocking)
{
    const std::string longLine(ChildProcess::c_reportLineMax + 1, 'x');
    const std::string script =
        "echo \"fd $LIFEBOAT_TEST_FD\" >&3; printf 'one\\n" + longLine +
        "\\ntwo\\nthree' >&3; head -c 5000 /dev/zero | tr '\\0' e >&2; echo last >&2; exit 7";
    ChildProcess child("sh", {"-c", script}, "LIFEBOAT_TEST_FD");
    ASSERT_TRUE(waitForEnd(child));
    EXPECT_EQ(7, child.exitStatus());
    // The over-long line is dropped whole; an unfinished last line is no line.
    EXPECT_EQ((std::vector<std::string>{"fd 3", "one", "two"}), child.takeReportLines());
    EXPECT_TRUE(child.takeReportLines().empty());
    EXPECT_EQ(ChildProcess::c_errorKeep, child.errors().size());
    EXPECT_EQ("eeelast\n", child.errors().substr(child.errors().size() - 8));
    // Every byte counts, dropped lines and standard error alike.
    EXPECT_EQ(5005 + 5 + 4 + longLine.size() + 1 + 4 + 5, child.bytesReceived());

    // Without a report variable there is no descriptor 3.
    ChildProcess silent("sh", {"-c", "echo x >&3 || exit 9"}, "");
    ASSERT_TRUE(waitForEnd(silent));
    EXPECT_EQ(9, silent.exitStatus());

    ChildProcess missing("/nonexistent/program", {}, "");
    EXPECT_TRUE(missing.hasEnded());
    EXPECT_EQ(-1, missing.exitStatus());
}

TEST(ChildProcessTest, SignalsReachTheWholeGroupAndDestructionEndsARunningChild)
{
    ChildProcess child("sh", {"-c", "sleep 30 & echo $! >&3; wait"}, "LIFEBOAT_TEST_FD");
    const std::string grandchild = firstReportLine(child);
    ASSERT_FALSE(grandchild.empty());
    EXPECT_FALSE(child.poll());
    child.signalGroup(SIGTERM);
    ASSERT_TRUE(waitForEnd(child));
    EXPECT_EQ(-2, child.exitStatus());
    EXPECT_TRUE(hasEnded(grandchild));

    // Killed and reaped on destruction, TERM ignored or not.
    std::string pid;
    {
        ChildProcess stubborn("sh", {"-c", "trap '' TERM; echo $$ >&3; sleep 30"}, "LIFEBOAT_TEST_FD");
        pid = firstReportLine(stubborn);
        stubborn.signalGroup(SIGTERM);
    }
    ASSERT_FALSE(pid.empty());
    EXPECT_TRUE(hasEnded(pid));
}
