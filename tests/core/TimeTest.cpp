#include "core/Time.h"

#include <array>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Directories.h"
#include "core/Paths.h"
#include "core/TempDir.h"

using namespace OKU;

namespace {

// Sets the TZ variable for one test and restores it afterwards.
class TimeZoneVariable {
public:
    explicit TimeZoneVariable(const char* value)
    {
        if (const char* previous = getenv("TZ"))
            m_previous = previous;
        setenv("TZ", value, 1);
        tzset();
    }
    ~TimeZoneVariable()
    {
        if (m_previous)
            setenv("TZ", m_previous->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> m_previous;
};

// Points the time functions at test files and a recording clock for one
// test, so that nothing on the machine changes; the real ones come back at
// the end.
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

// Day of year, weekday, week year and week.
std::array<int, 4> weekInfo(int year, int month, int day)
{
    std::array<int, 4> info;
    calcWeekInfo(year, month, day, &info[0], &info[1], &info[2], &info[3]);
    return info;
}

} // namespace

TEST(TimeTest, WeekInfoAroundNewYear)
{
    EXPECT_EQ((std::array<int, 4>{0, 4, 2020, 52}), weekInfo(2021, 0, 0));
    EXPECT_EQ((std::array<int, 4>{364, 0, 2025, 0}), weekInfo(2024, 11, 29));
    EXPECT_EQ((std::array<int, 4>{363, 6, 2024, 51}), weekInfo(2024, 11, 28));

    // Outputs nobody asked for are left alone; week and week year go together.
    int dayOfYear = -1;
    int week = -1;
    calcWeekInfo(2024, 2, 0, &dayOfYear, nullptr, nullptr, &week);
    EXPECT_EQ(31 + 29, dayOfYear);
    EXPECT_EQ(-1, week);
}

TEST(TimeTest, WeekInfoAgreesWithTheCLibraryForEveryDay)
{
    // Noon UTC of every day of two centuries.
    struct tm start = {};
    start.tm_year = 0; // 1900
    start.tm_mday = 1;
    start.tm_hour = 12;
    for (time_t day = timegm(&start);; day += 24 * 3600) {
        struct tm date;
        gmtime_r(&day, &date);
        if (date.tm_year > 2100 - 1900)
            break;
        char iso[32];
        strftime(iso, sizeof iso, "%G %V %u %j", &date);
        std::array<int, 4> expected;
        ASSERT_EQ(4, sscanf(iso, "%d %d %d %d", &expected[2], &expected[3], &expected[1],
                            &expected[0]));
        expected[0] -= 1;
        expected[1] -= 1;
        expected[3] -= 1;
        ASSERT_EQ(expected, weekInfo(date.tm_year + 1900, date.tm_mon, date.tm_mday - 1)) << iso;
    }
}

TEST(TimeTest, LeapYears)
{
    EXPECT_FALSE(isLeapYear(1900));
    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_TRUE(isLeapYear(2024));
    EXPECT_FALSE(isLeapYear(2023));
    EXPECT_FALSE(isLeapYear(2100));
    EXPECT_TRUE(isLeapYear(2400));
}

TEST(TimeTest, MonotonicClocksAgreeAndNeverGoBack)
{
    uint64_t previous = monotonicMicroseconds();
    for (int i = 0; i < 10000; ++i) {
        const uint32_t before = monotonicMilliseconds();
        const uint64_t micro = monotonicMicroseconds();
        const uint32_t after = monotonicMilliseconds();
        ASSERT_LE(previous, micro);
        // Differences, because the millisecond clock may have wrapped.
        ASSERT_LE(static_cast<uint32_t>(micro / 1000) - before, after - before);
        previous = micro;
    }
}

TEST(TimeTest, SafeLocaltimeUsesTheLocalZone)
{
    TimeZoneVariable zone("EST5");
    const auto text = [](const struct tm* fields) {
        char buffer[64] = "(null)";
        if (fields)
            strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", fields);
        return std::string(buffer);
    };
    const long epoch = 0;
    struct tm fields;
    EXPECT_EQ(&fields, safeLocaltime(&epoch, &fields));
    EXPECT_EQ("1969-12-31 19:00:00", text(&fields));
    EXPECT_EQ("2024-02-29 07:34:56", text(safeLocaltime(1709210096L).get()));

    if (sizeof(long) > 4) {
        // Far beyond any representable year.
        const long far = LONG_MAX;
        EXPECT_FALSE(safeLocaltime(far));
        EXPECT_EQ(nullptr, safeLocaltime(&far, &fields));
    }
}

TEST(TimeTest, SetClockSetsLocalTimeThenHardwareClock)
{
    FakeSystem system;
    const DateTime leapDay = {2024, 2, 29, 12, 34, 56};
    {
        TimeZoneVariable zone("UTC0");
        EXPECT_TRUE(setClock(leapDay, true));
    }
    {
        TimeZoneVariable zone("EST5");
        EXPECT_TRUE(setClock(leapDay, false));
    }
    EXPECT_EQ((std::vector<time_t>{1709210096, 1709210096 + 5 * 3600}), system.setTimes);
    EXPECT_EQ((std::vector<std::string>{"/sbin/hwclock --systohc --utc", "/sbin/hwclock --systohc"}),
              system.commands);

    system.commandResult = 256;
    EXPECT_FALSE(setClock(leapDay, true));

    // A refused time or a date beyond the calendar stops before hwclock.
    system.commands.clear();
    system.setTimes.clear();
    system.commandResult = 0;
    system.setTimeSucceeds = false;
    EXPECT_FALSE(setClock(leapDay, true));
    EXPECT_EQ(1u, system.setTimes.size());
    system.setTimeSucceeds = true;
    const DateTime beyond = {INT32_MAX, INT32_MAX, 1, 0, 0, 0};
    EXPECT_FALSE(setClock(beyond, true));
    EXPECT_EQ(1u, system.setTimes.size());
    EXPECT_TRUE(system.commands.empty());
}

TEST(TimeTest, SetTimeZoneReplacesLocalTimeFileWhole)
{
    FakeSystem system;
    TempDir dir;
    ASSERT_TRUE(makeDirTree(dir / "zoneinfo/Europe"));
    ASSERT_TRUE(makeDirTree(dir / "zoneinfo/Am\xc3\xa9rique"));
    dir.write("zoneinfo/Europe/Berlin", "TZif Berlin");
    dir.write("zoneinfo/Am\xc3\xa9rique/Z\xc3\xbcrich", "TZif Zurich");
    const std::string oldContents = "TZif old zone, longer than the new ones";
    dir.write("localtime", oldContents);
    // Left over from an interrupted earlier run.
    dir.write("localtime.new", "stale and much longer than any of the zone files");
    setZoneInfoDirectory(dir / "zoneinfo");
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

TEST(TimeTest, TimeZonesComeFromTheZoneTable)
{
    FakeSystem system;
    TempDir dir;
    setZoneInfoDirectory(dir.path());
    EXPECT_TRUE(getTimeZones().empty());

    dir.write("zone.tab",
              "# tz zone descriptions\n"
              "#\n"
              "#code\tcoordinates\tTZ\tcomments\n"
              "AD\t+4230+00131\tEurope/Andorra\n"
              "\n"
              "# Not/AZone\there\n"
              "CH\t+4723+00832\tAm\xc3\xa9rique/Z\xc3\xbcrich\n"
              "AQ\t-7750+16636\tAntarctica/McMurdo\tNew Zealand time - McMurdo, South Pole\n"
              "#last line without newline");
    EXPECT_EQ((std::vector<std::wstring>{L"Europe/Andorra", L"Am\u00e9rique/Z\u00fcrich",
                                         L"Antarctica/McMurdo"}),
              getTimeZones());
}
