// The clocks the core reads: a wrapping millisecond tick count, the calendar time in seconds
// and its local-time form, with the limits of the Windows C runtime the system was built on.
#pragma once

#include <cstdint>

namespace platform
{

// Broken-down date and time with the fields of a Windows SYSTEMTIME: month 1..12, day of
// the week 0 (Sunday) to 6. Plain ints, so a parsed text is never cut to 16 bits.
struct SystemTime
{
    int nYear = 0;
    int nMonth = 0;
    int nDayOfWeek = 0;
    int nDay = 0;
    int nHour = 0;
    int nMinute = 0;
    int nSecond = 0;
    int nMilliseconds = 0;
};

// Milliseconds since an arbitrary start on a clock that never goes back; wraps to 0 after
// 2^32 ms (49.7 days) like GetTickCount, so compare two values by unsigned difference.
std::uint32_t GetTickCount();

// Seconds since 1970-01-01 00:00:00 UTC.
std::int64_t GetTimeSeconds();

// The local time of a moment; false (fields all zero) when it cannot be converted.
bool ToLocalTime(std::int64_t nSeconds, SystemTime* pTime);

// The moment of a local date and time (milliseconds and day of the week ignored), daylight
// saving decided by the system. False for a field out of range (month 1..12, a day the month
// has, hour 0..23, minute and second 0..59) and for a moment before 1970 or after the year
// 3000 in UTC, the range the Windows C runtime converts.
bool FromLocalTime(const SystemTime& time, std::int64_t* pSeconds);

} // namespace platform
