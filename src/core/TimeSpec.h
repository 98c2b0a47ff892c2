#ifndef OKU_CORE_TIMESPEC_H
#define OKU_CORE_TIMESPEC_H

#include <cstdint>

namespace OKU {

// A point or span on the monotonic clock; nanoseconds stay in 0..999,999,999.
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

} // namespace OKU

#endif
