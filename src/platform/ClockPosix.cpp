#include "platform/Clock.h"

#include <ctime>

namespace platform
{

// 3000-12-31 23:59:59 UTC, the last second the Windows C runtime's 64-bit time functions take.
static constexpr std::int64_t kLastConvertibleSecond = 32535215999LL;

std::uint32_t GetTickCount()
{
    timespec ts;
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    std::uint64_t ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                       static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms); // the wrap is intended
}

std::int64_t GetTimeSeconds()
{
    return static_cast<std::int64_t>(::time(nullptr));
}

bool ToLocalTime(std::int64_t nSeconds, SystemTime* pTime)
{
    *pTime = SystemTime();
    if (nSeconds < 0 || nSeconds > kLastConvertibleSecond)
        return false;
    std::time_t t = static_cast<std::time_t>(nSeconds);
    std::tm tm;
    if (::localtime_r(&t, &tm) == nullptr)
        return false;
    pTime->nYear = tm.tm_year + 1900;
    pTime->nMonth = tm.tm_mon + 1;
    pTime->nDayOfWeek = tm.tm_wday;
    pTime->nDay = tm.tm_mday;
    pTime->nHour = tm.tm_hour;
    pTime->nMinute = tm.tm_min;
    pTime->nSecond = tm.tm_sec;
    return true;
}

bool FromLocalTime(const SystemTime& time, std::int64_t* pSeconds)
{
    *pSeconds = 0;
    // The year bound keeps tm_year far from overflow; the exact range is checked below.
    if (time.nYear < 1900 || time.nYear > 3001 || time.nMonth < 1 || time.nMonth > 12 ||
        time.nDay < 1 || time.nDay > 31 || time.nHour < 0 || time.nHour > 23 || time.nMinute < 0 ||
        time.nMinute > 59 || time.nSecond < 0 || time.nSecond > 59)
        return false;
    std::tm tm = {};
    tm.tm_year = time.nYear - 1900;
    tm.tm_mon = time.nMonth - 1;
    tm.tm_mday = time.nDay;
    tm.tm_hour = time.nHour;
    tm.tm_min = time.nMinute;
    tm.tm_sec = time.nSecond;
    tm.tm_isdst = -1;
    std::time_t t = ::mktime(&tm);
    // mktime moves 31 April to 1 May; such a day does not exist and is refused. The hour
    // may move (a local time skipped by daylight saving), the date may not.
    if (tm.tm_year != time.nYear - 1900 || tm.tm_mon != time.nMonth - 1 || tm.tm_mday != time.nDay)
        return false;
    std::int64_t n = static_cast<std::int64_t>(t);
    if (n < 0 || n > kLastConvertibleSecond)
        return false;
    *pSeconds = n;
    return true;
}

} // namespace platform
