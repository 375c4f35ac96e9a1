#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "linecheck/ErrorWindow.h"
#include "linecheck/ScopedTimeZone.h"
#include "platform/Clock.h"

namespace
{

constexpr std::int64_t kDay = 86400;
// 2026-03-10 15:00:00 UTC, a Tuesday.
constexpr std::int64_t kNowUtc = 1773154800;

// The decisions of a recording-error scan over one page of (date, content) items.
std::string ScanItems(const std::vector<std::pair<std::string, std::string>>& items,
                      std::int64_t nNow, int nDays)
{
    std::int64_t nToday = GetLocalDayStart(nNow);
    CErrorDateList dates;
    for (const auto& item : items)
    {
        std::int64_t nEntry = 0;
        LogDateToSeconds(item.first, &nEntry);
        if (!IsInsideErrorWindow(nEntry, nNow, nToday, nDays))
            break;
        if (item.second.find("Record Block") != std::string::npos)
            dates.Add(item.first);
    }
    return dates.GetText();
}

} // namespace

TEST(ErrorWindow, LogDatesAreReadYearFirstAndImpossibleOnesAreRefused)
{
    CScopedTimeZone zone("UTC0");
    struct Case
    {
        const char* pszDate;
        bool bOk;
        std::int64_t nSeconds;
    };
    const Case cases[] = {
        {"2026-03-10", true, kNowUtc - 15 * 3600},
        {"2026-3-9", true, kNowUtc - 15 * 3600 - kDay},
        {"1970-01-02", true, kDay},
        {"2024-02-29", true, 1709164800},
        {"3000-12-31", true, 32535129600},
        {"2026-13-01", false, 0},
        {"2026-00-10", false, 0},
        {"2026-03-32", false, 0},
        {"2026-03-00", false, 0},
        {"2026-04-31", false, 0}, // a day the month does not have
        {"2023-02-29", false, 0},
        {"1969-12-31", false, 0}, // before 1970
        {"1899-12-31", false, 0},
        {"3001-01-01", false, 0}, // after the year 3000
        {"10-03-2026", false, 0}, // day first: year 10, day 2026
        {"2026-03", false, 0},
        {"yesterday", false, 0},
        {"", false, 0},
    };
    for (const Case& c : cases)
    {
        std::int64_t n = -1;
        EXPECT_EQ(LogDateToSeconds(c.pszDate, &n), c.bOk) << c.pszDate;
        EXPECT_EQ(n, c.nSeconds) << c.pszDate;
    }
}

TEST(ErrorWindow, FirstDayOf1970IsRefusedEastOfUtcWhereItsMidnightPrecedesTheEpoch)
{
    std::int64_t n = -1;
    {
        CScopedTimeZone zone("KST-9");
        EXPECT_FALSE(LogDateToSeconds("1970-01-01", &n));
        EXPECT_TRUE(LogDateToSeconds("1970-01-02", &n));
        EXPECT_EQ(n, kDay - 9 * 3600);
    }
    {
        CScopedTimeZone zone("EST5");
        EXPECT_TRUE(LogDateToSeconds("1970-01-01", &n));
        EXPECT_EQ(n, 5 * 3600);
    }
}

TEST(ErrorWindow, WindowHoldsTodayAndTheSevenDaysBefore)
{
    CScopedTimeZone zone("UTC0");
    std::int64_t nToday = GetLocalDayStart(kNowUtc);
    EXPECT_EQ(nToday, kNowUtc - 15 * 3600);
    struct Case
    {
        std::int64_t nEntry;
        bool bInside;
    };
    const Case cases[] = {
        {nToday, true},
        {nToday - 3 * kDay, true},
        {nToday - 7 * kDay, true},
        {nToday - 8 * kDay, false},
        {nToday - 9 * kDay, false},
        {nToday + kDay, true}, // later than now: a recorder clock ahead of ours
        {1, false},
        {0, false}, // an unusable date
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsInsideErrorWindow(c.nEntry, kNowUtc, nToday, 7), c.bInside) << c.nEntry;
    // An unusable date stays outside even when today could not be told.
    EXPECT_FALSE(IsInsideErrorWindow(0, kNowUtc, 0, 7));
}

TEST(ErrorWindow, WindowFollowsLocalMidnightEastOfUtc)
{
    CScopedTimeZone zone("KST-9");
    // 15:00 UTC is already the next day, 00:00 on 11 March, in Seoul.
    std::int64_t nToday = GetLocalDayStart(kNowUtc);
    EXPECT_EQ(nToday, kNowUtc); // 2026-03-11 00:00 KST
    std::int64_t nEntry = 0;
    ASSERT_TRUE(LogDateToSeconds("2026-03-04", &nEntry));
    EXPECT_TRUE(IsInsideErrorWindow(nEntry, kNowUtc, nToday, 7));
    ASSERT_TRUE(LogDateToSeconds("2026-03-03", &nEntry));
    EXPECT_FALSE(IsInsideErrorWindow(nEntry, kNowUtc, nToday, 7));
}

TEST(ErrorWindow, ScanDecisionsOverOnePage)
{
    CScopedTimeZone zone("UTC0");
    struct Case
    {
        const char* pszName;
        std::vector<std::pair<std::string, std::string>> items;
        const char* pszExpected;
    };
    const Case cases[] = {
        {"today, three days ago, then nine days ago ends the scan",
         {{"2026-03-10", "Record Block ch1"},
          {"2026-03-07", "Record Block ch2"},
          {"2026-03-01", "Record Block ch3"},
          {"2026-03-10", "Record Block after the end"}},
         "2026-03-10, 2026-03-07"},
        {"same date in a row is listed once, a date that comes back again",
         {{"2026-03-09", "Record Block"},
          {"2026-03-09", "x Record Block y"},
          {"2026-03-08", "Record Block"},
          {"2026-03-09", "Record Block"}},
         "2026-03-09, 2026-03-08, 2026-03-09"},
        {"only entries that name a blocked recording, case-sensitive",
         {{"2026-03-10", "record block"}, {"2026-03-09", "Login"}, {"2026-03-08", "Record Block"}},
         "2026-03-08"},
        {"month 13 ends the scan like an unparsable date",
         {{"2026-03-10", "Record Block"},
          {"2026-13-01", "Record Block"},
          {"2026-03-09", "Record Block"}},
         "2026-03-10"},
        {"an unparsable first date finds nothing",
         {{"03/10/2026", "Record Block"}, {"2026-03-10", "Record Block"}},
         ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScanItems(c.items, kNowUtc, 7), c.pszExpected) << c.pszName;
}
