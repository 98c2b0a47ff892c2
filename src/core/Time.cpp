#include "core/Time.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <sstream>

#include <sys/time.h>
#include <unistd.h>

#include "core/FileCopy.h"
#include "core/RegularFile.h"
#include "core/Utf8.h"

namespace OKU {

namespace {

// Days before each month in a common year.
const int c_daysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

std::string& localtimePath()
{
    static std::string path = "/etc/localtime";
    return path;
}

std::string& zoneInfoDirectory()
{
    static std::string path = "/usr/share/zoneinfo";
    return path;
}

ClockSystem& clockSystem()
{
    static ClockSystem system;
    return system;
}

timespec readMonotonicClock()
{
    timespec now;
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0)
        abort();
    return now;
}

bool setSystemTime(time_t seconds)
{
    const ClockSystem& system = clockSystem();
    if (system.setSystemTime)
        return system.setSystemTime(seconds);
    timeval value;
    value.tv_sec = seconds;
    value.tv_usec = 0;
    return settimeofday(&value, nullptr) == 0;
}

int runCommand(const std::string& command)
{
    const ClockSystem& system = clockSystem();
    return system.runCommand ? system.runCommand(command) : ::system(command.c_str());
}

} // namespace

void sleepMilliseconds(int milliseconds)
{
    // usleep's 32-bit microseconds would wrap after 71 minutes.
    if (milliseconds <= 0)
        return;
    timespec left;
    left.tv_sec = milliseconds / 1000;
    left.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000;
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

uint64_t monotonicMicroseconds()
{
    const timespec now = readMonotonicClock();
    return static_cast<uint64_t>(now.tv_sec) * 1000000 + static_cast<uint64_t>(now.tv_nsec) / 1000;
}

void calcWeekInfo(int year, int month, int day, int* dayOfYear, int* weekday, int* weekYear,
                  int* week)
{
    if (month < 0 || month > 11)
        return;
    const bool leap = isLeapYear(year);
    const int yearDay = c_daysBeforeMonth[month] + day + (leap && month >= 2 ? 1 : 0);

    // Weekday of 1 January (Monday 0) from the century and the year in it.
    const int previous = year - 1;
    const int century = previous / 100;
    const int inCentury = previous % 100;
    const int january1 = (5 * (century % 4) + inCentury + inCentury / 4) % 7;
    const int dayOfWeek = (january1 + yearDay) % 7;

    if (dayOfYear)
        *dayOfYear = yearDay;
    if (weekday)
        *weekday = dayOfWeek;
    if (!week || !weekYear)
        return;

    // ISO 8601: week 1 (here 0) is the one holding the first Thursday.
    if (january1 + yearDay < 7 && january1 > 3) {
        // Before the first Monday of a year starting Friday to Sunday: the
        // last week of the previous year, which has 53 weeks when that year
        // started on a Thursday (or a Wednesday, if it was a leap year).
        const bool previousLeap = isLeapYear(previous);
        *week = (!previousLeap && january1 == 4) || (previousLeap && january1 != 6) ? 52 : 51;
        *weekYear = previous;
    } else if ((leap ? 365 : 364) - yearDay + dayOfWeek <= 2) {
        // Monday to Wednesday of a week whose Thursday is in the next year.
        *week = 0;
        *weekYear = year + 1;
    } else {
        *week = (6 - dayOfWeek + yearDay + january1) / 7 - (january1 > 3 ? 1 : 0);
        *weekYear = year;
    }
}

bool setClock(const DateTime& dateTime, bool utc)
{
    // Starting from the present local time keeps its daylight-saving flag.
    struct tm fields;
    const time_t now = time(nullptr);
    if (!safeLocaltime(&now, &fields))
        return false;
    fields.tm_year = dateTime.year - 1900;
    fields.tm_mon = dateTime.month - 1;
    fields.tm_mday = dateTime.day;
    fields.tm_hour = dateTime.hour;
    fields.tm_min = dateTime.minute;
    fields.tm_sec = dateTime.second;

    const time_t seconds = mktime(&fields);
    if (seconds == static_cast<time_t>(-1))
        return false;
    if (!setSystemTime(seconds))
        return false;
    return runCommand(utc ? "/sbin/hwclock --systohc --utc" : "/sbin/hwclock --systohc") == 0;
}

bool setTimeZone(const std::wstring& zone)
{
    std::string source = zoneInfoDirectory();
    if (!zone.empty())
        source += "/" + utf8Encode(zone);
    const std::string& target = localtimePath();
    const std::string temporary = target + ".new";
    if (!copyFile(source, temporary))
        return false;
    return syncRename(temporary, target);
}

void setFullPathToLocaltime(const std::string& path)
{
    localtimePath() = path;
}

std::vector<std::wstring> getTimeZones()
{
    std::vector<std::wstring> zones;
    std::string text;
    readRegularFile(zoneInfoDirectory() + "/zone.tab", c_maxZoneTableBytes, text);
    std::istringstream table(text);
    const auto skipLine = [&table] {
        table.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    };
    // Lines are "code coordinates zone [comment]"; "#" starts a comment line.
    std::string word;
    while (table >> word) {
        if (word[0] != '#') {
            std::string coordinates;
            std::string zone;
            if (!(table >> coordinates >> zone))
                break;
            zones.push_back(utf8Decode(zone));
        }
        skipLine();
    }
    return zones;
}

void setZoneInfoDirectory(const std::string& path)
{
    zoneInfoDirectory() = path;
}

void setClockSystem(const ClockSystem& system)
{
    clockSystem() = system;
}

} // namespace OKU
