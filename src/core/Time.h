#ifndef OKU_CORE_TIME_H
#define OKU_CORE_TIME_H

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace OKU {

/// A point or span on the monotonic clock; nanoseconds stay in 0..999,999,999.
struct TimeSpec {
    int32_t seconds = 0;
    int32_t nanoseconds = 0;

    TimeSpec() = default;
    TimeSpec(int32_t s, int32_t ns) : seconds(s), nanoseconds(ns) {}

    static TimeSpec fromMilliseconds(int32_t ms)
    {
        return TimeSpec(ms / 1000, (ms % 1000) * 1000000);
    }

    TimeSpec operator+(const TimeSpec& o) const
    {
        TimeSpec sum(seconds + o.seconds, nanoseconds + o.nanoseconds);
        if (sum.nanoseconds > 999999999) {
            sum.seconds += 1;
            sum.nanoseconds -= 1000000000;
        } else if (sum.nanoseconds < 0) {
            sum.seconds -= 1;
            sum.nanoseconds += 1000000000;
        }
        return sum;
    }
    TimeSpec& operator+=(const TimeSpec& o) { return *this = *this + o; }

    bool operator<(const TimeSpec& o) const
    {
        return seconds != o.seconds ? seconds < o.seconds : nanoseconds < o.nanoseconds;
    }
    bool operator>(const TimeSpec& o) const { return o < *this; }
    bool operator<=(const TimeSpec& o) const { return !(o < *this); }
    bool operator>=(const TimeSpec& o) const { return !(*this < o); }
    bool operator==(const TimeSpec& o) const
    {
        return seconds == o.seconds && nanoseconds == o.nanoseconds;
    }
    bool operator!=(const TimeSpec& o) const { return !(*this == o); }
};


/// A calendar date and time of day as an operator enters it.
struct DateTime {
    int32_t year = 0;   ///< e.g. 2024
    int32_t month = 0;  ///< 1..12
    int32_t day = 0;    ///< 1..31
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
};

/// Sleeps that long, on through signals; not at all for 0 or less.
void sleepMilliseconds(int milliseconds);

/// The monotonic clock; both abort() when it cannot be read. The 32-bit
/// millisecond value wraps after about 49.7 days, so compare differences.
uint64_t monotonicMicroseconds();
inline uint32_t monotonicMilliseconds()
{
    return static_cast<uint32_t>(monotonicMicroseconds() / 1000);
}

/// localtime_r into result; returns result, or null when the time cannot be
/// converted.
inline struct tm* safeLocaltime(const time_t* time, struct tm* result)
{
    return localtime_r(time, result);
}
/// The local time in a new structure, or an empty pointer on failure.
inline std::unique_ptr<struct tm> safeLocaltime(time_t time)
{
    std::unique_ptr<struct tm> result(new struct tm());
    if (!safeLocaltime(&time, result.get()))
        result.reset();
    return result;
}

inline bool isLeapYear(int year)
{
    return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
}

/// Calendar facts of a day; month and day count from 0 (January, the first).
/// dayOfYear counts from 0, weekday runs from 0 (Monday) to 6 (Sunday), and
/// week counts ISO 8601 weeks from 0, belonging to weekYear, which differs
/// from year around New Year. Any output may be null, but week and weekYear
/// are only written together: ask for both or for neither. A month outside
/// 0..11 writes nothing.
void calcWeekInfo(int year, int month, int day, int* dayOfYear, int* weekday, int* weekYear,
                  int* week);

/// Sets the system time from local time dateTime, then the hardware clock
/// from it; utc tells that the hardware clock keeps UTC. False when the date
/// is not representable, the system refuses the time or hwclock fails.
bool setClock(const DateTime& dateTime, bool utc);

/// Installs the named zone file (such as L"Europe/Berlin") crash-safely as
/// the local time file. The running process keeps its own time zone.
bool setTimeZone(const std::wstring& zone);
/// The local time file, "/etc/localtime" unless changed.
void setFullPathToLocaltime(const std::string& path);

/// Larger zone tables are refused; the system's takes about 20 kB.
constexpr std::uint64_t c_maxZoneTableBytes = 1 << 20;

/// The zone names of the zone table, in its order; empty when it cannot be
/// read or is no regular file of at most c_maxZoneTableBytes.
std::vector<std::wstring> getTimeZones();

// The following replace the system parts that setTimeZone, getTimeZones and
// setClock touch, so that tests can run them without changing the machine.
// They are process-wide and meant to be set before other threads use them.

/// The zone file directory, "/usr/share/zoneinfo" unless changed; the zone
/// table is "zone.tab" in it.
void setZoneInfoDirectory(const std::string& path);

/// How setClock reaches the system: setting the system time to whole seconds
/// since the epoch (true on success; settimeofday by default), and running a
/// shell command (the result of system(3); system itself by default). An
/// empty member selects the default.
struct ClockSystem {
    std::function<bool(time_t)> setSystemTime;
    std::function<int(const std::string&)> runCommand;
};
void setClockSystem(const ClockSystem& system);

} // namespace OKU

#endif
