#include "core/Time.h"

#include <array>
#include <cstdio>
#include <limits>
#include <ctime>
#include <csignal>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <gtest/gtest.h>

#include "HostileFiles.h"
#include "core/Paths.h"

using namespace OKU;

namespace {

// Sets TZ until the end of the scope; the members end in reverse order, so
// the restored value is loaded last.
struct TimeZoneVariable {
    explicit TimeZoneVariable(const char* value) : env("TZ", value) { tzset(); }
    struct Reload { ~Reload() { tzset(); } } reload;
    ScopedEnv env;
};

// Points the time functions at test files and a recording clock, so that
// nothing on the machine changes; the real ones come back at the end.
struct FakeSystem {
    FakeSystem()
    {
        setClockSystem({[this](time_t seconds) {
                            setTimes.push_back(seconds);
                            return setTimeSucceeds;
                        },
                        [this](const std::string& command) {
                            commands.push_back(command);
                            return commandResult;
                        }});
    }
    ~FakeSystem()
    {
        setClockSystem(ClockSystem());
        setZoneInfoDirectory("/usr/share/zoneinfo");
        setFullPathToLocaltime("/etc/localtime");
    }

    std::vector<time_t> setTimes;
    std::vector<std::string> commands;
    bool setTimeSucceeds = true;
    int commandResult = 0;
};

} // namespace

TEST(TimeTest, WeekInfoAgreesWithTheCLibraryForEveryDay)
{
    // Every day of two centuries (time_t has 64 bits in every build, see
    // ClocksAndLocalTime); strftime gives the C library's ISO week for it.
    for (time_t day = -2208988800; day < 4133980800; day += 24 * 3600) { // 1900 to 2100
        struct tm date;
        ASSERT_TRUE(gmtime_r(&day, &date));
        char iso[32], ours[64];
        strftime(iso, sizeof iso, "%j %u %G %V", &date);
        std::array<int, 4> info;
        calcWeekInfo(date.tm_year + 1900, date.tm_mon, date.tm_mday - 1, &info[0], &info[1],
                     &info[2], &info[3]);
        snprintf(ours, sizeof ours, "%03d %d %d %02d", info[0] + 1, info[1] + 1, info[2],
                 info[3] + 1);
        ASSERT_STREQ(iso, ours) << date.tm_year + 1900 << "-" << date.tm_mon + 1;
        EXPECT_EQ(date.tm_yday == 365,
                  isLeapYear(date.tm_year + 1900) && date.tm_mon == 11 && date.tm_mday == 31);
    }
    // Outputs nobody asked for are left alone; week and week year go together.
    int dayOfYear = -1, week = -1;
    calcWeekInfo(2024, 2, 0, &dayOfYear, nullptr, nullptr, &week);
    EXPECT_EQ(31 + 29, dayOfYear);
    EXPECT_EQ(-1, week);
    // A month that does not exist is refused, not looked up past the table.
    for (int month : {-1, 12, 1000}) {
        int untouched = -1;
        calcWeekInfo(2024, month, 0, &untouched, &untouched, nullptr, nullptr);
        EXPECT_EQ(-1, untouched) << month;
    }
}

TEST(TimeTest, ClocksAndLocalTime)
{
    // Both clocks count the same time, and sleeping advances them.
    const uint64_t micro = monotonicMicroseconds();
    EXPECT_LE(monotonicMilliseconds() - static_cast<uint32_t>(micro / 1000), 1u);
    sleepMilliseconds(20);
    EXPECT_LE(micro + 20000, monotonicMicroseconds());

    TimeZoneVariable zone("EST5");
    const time_t epoch = 0;
    struct tm fields;
    ASSERT_EQ(&fields, safeLocaltime(&epoch, &fields));
    EXPECT_TRUE(fields.tm_year == 69 && fields.tm_mday == 31 && fields.tm_hour == 19);
    // After 2038 (the program is built with a 64-bit time_t everywhere).
    ASSERT_EQ(8u, sizeof(time_t));
    const std::unique_ptr<struct tm> future = safeLocaltime(static_cast<time_t>(4102444800LL));
    ASSERT_TRUE(future && future->tm_year == 199 && future->tm_mon == 11 && future->tm_mday == 31);
    // Far beyond any representable year.
    const time_t far = std::numeric_limits<time_t>::max();
    EXPECT_FALSE(safeLocaltime(far));
    EXPECT_EQ(nullptr, safeLocaltime(&far, &fields));
}

TEST(TimeTest, SetClockSetsLocalTimeThenHardwareClock)
{
    FakeSystem system;
    const DateTime leapDay = {2024, 2, 29, 12, 34, 56};
    for (const auto& [zone, utc] : {std::make_pair("UTC0", true), std::make_pair("EST5", false)}) {
        TimeZoneVariable variable(zone);
        EXPECT_TRUE(setClock(leapDay, utc));
    }
    EXPECT_EQ((std::vector<time_t>{1709210096, 1709210096 + 5 * 3600}), system.setTimes);
    EXPECT_EQ(
        (std::vector<std::string>{"/sbin/hwclock --systohc --utc", "/sbin/hwclock --systohc"}),
        system.commands);
    system.commandResult = 256;
    EXPECT_FALSE(setClock(leapDay, true));
    // A refused time or a date beyond the calendar stops before hwclock.
    FakeSystem refusing;
    refusing.setTimeSucceeds = false;
    EXPECT_FALSE(setClock(leapDay, true));
    refusing.setTimeSucceeds = true;
    EXPECT_FALSE(setClock({INT32_MAX, INT32_MAX, 1, 0, 0, 0}, true));
    EXPECT_EQ(1u, refusing.setTimes.size());
    EXPECT_TRUE(refusing.commands.empty());
}

TEST(TimeTest, TimeZonesComeFromTheZoneTableAndReplaceTheLocalTimeFileWhole)
{
    FakeSystem system;
    TempDir dir;
    setZoneInfoDirectory(dir.path());
    EXPECT_TRUE(getTimeZones().empty());
    // A zone table that is a FIFO, an endless device or too large is none.
    TempDir hostile;
    for (const std::string& path : makeHostileFiles(hostile, c_maxZoneTableBytes)) {
        ASSERT_EQ(0, mkdir((path + ".zoneinfo").c_str(), 0700));
        ASSERT_EQ(0, symlink(path.c_str(), (path + ".zoneinfo/zone.tab").c_str()));
        setZoneInfoDirectory(path + ".zoneinfo");
        EXPECT_TRUE(refusedQuickly([] { return !getTimeZones().empty(); })) << path;
    }
    setZoneInfoDirectory(OKU_TEST_DATA_DIR "/core/zoneinfo");
    EXPECT_EQ((std::vector<std::wstring>{L"Europe/Andorra", L"Am\u00e9rique/Z\u00fcrich",
                                         L"Antarctica/McMurdo"}),
              getTimeZones());

    const std::string oldContents = "TZif old zone, longer than the new ones";
    dir.write("localtime", oldContents);
    // Left over from an interrupted earlier run.
    dir.write("localtime.new", "stale and much longer than any of the zone files");
    setFullPathToLocaltime(dir / "localtime");
    EXPECT_FALSE(setTimeZone(L"Nowhere/Missing"));
    EXPECT_FALSE(setTimeZone(L""));
    EXPECT_EQ(oldContents, dir.read("localtime"));
    EXPECT_TRUE(setTimeZone(L"Europe/Berlin"));
    EXPECT_EQ("TZif Berlin", dir.read("localtime"));
    EXPECT_FALSE(pathExists(dir / "localtime.new"));
    EXPECT_TRUE(setTimeZone(L"Am\u00e9rique/Z\u00fcrich"));
    EXPECT_EQ("TZif Zurich", dir.read("localtime"));
    setFullPathToLocaltime(dir / "missing-directory/localtime");
    EXPECT_FALSE(setTimeZone(L"Europe/Berlin"));
}

// Times whose microseconds do not fit 32 bits sleep their whole length, and
// one of 0 or less not at all: each runs in a child, which a second tells.
TEST(TimeTest, SleepsNeitherWrapNorHangOnNegativeTimes)
{
    // 4294968 ms are 2^32 + 670704 us: 0.67 s once wrapped.
    const int milliseconds[] = {4294968, -1, 0};
    pid_t children[3];
    for (int i = 0; i < 3; ++i) {
        if ((children[i] = fork()) == 0) {
            sleepMilliseconds(milliseconds[i]);
            _exit(0);
        }
    }
    sleepMilliseconds(1000);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(i == 0, waitpid(children[i], nullptr, WNOHANG) == 0)
            << milliseconds[i] << " still sleeping";
        kill(children[i], SIGKILL);
        waitpid(children[i], nullptr, 0);
    }
}
