#include <gtest/gtest.h>

#include <string>

#include "linecheck/DateTimeText.h"
#include "platform/DateOrder.h"

using platform::SystemTime;

namespace
{

SystemTime MakeTime(int y, int mo, int d, int h, int mi, int s, int ms = 0)
{
    SystemTime t;
    t.nYear = y;
    t.nMonth = mo;
    t.nDay = d;
    t.nHour = h;
    t.nMinute = mi;
    t.nSecond = s;
    t.nMilliseconds = ms;
    return t;
}

std::string Fields(const SystemTime& t)
{
    return std::to_string(t.nYear) + "/" + std::to_string(t.nMonth) + "/" + std::to_string(t.nDay) +
           " " + std::to_string(t.nHour) + ":" + std::to_string(t.nMinute) + ":" +
           std::to_string(t.nSecond) + "." + std::to_string(t.nMilliseconds);
}

} // namespace

TEST(DateTimeText, FormatWritesFixedWidthFieldsAndParseReadsThemBack)
{
    EXPECT_EQ(FormatDateTime(MakeTime(2026, 3, 5, 9, 7, 2)), "2026-03-05 09:07:02");
    EXPECT_EQ(FormatDateTime(MakeTime(812, 12, 31, 23, 59, 59)), "0812-12-31 23:59:59");
    EXPECT_EQ(FormatDateTime(SystemTime()), "0000-00-00 00:00:00"); // a failed clock read

    SystemTime t;
    ASSERT_TRUE(ParseDateTime(FormatDateTime(MakeTime(2026, 11, 30, 18, 4, 0)), &t));
    EXPECT_EQ(Fields(t), "2026/11/30 18:4:0.0");
}

TEST(DateTimeText, ParseDateTimeShapes)
{
    struct Case
    {
        const char* pszText;
        bool bOk;
        const char* pszFields; // after the call; zero fields on failure
    };
    const Case cases[] = {
        {"2026-03-05 09:07:02", true, "2026/3/5 9:7:2.0"},
        {"2026-03-05 09:07:02.250", true, "2026/3/5 9:7:2.250"},
        {"2026-3-5 9:7:2", true, "2026/3/5 9:7:2.0"},
        {"2026-03-05", false, "0/0/0 0:0:0.0"},
        {"2026-03-05T09:07:02", false, "0/0/0 0:0:0.0"},
        {"2026-03 09:07:02", false, "0/0/0 0:0:0.0"},
        {"2026-03-05 09:07", false, "0/0/0 0:0:0.0"},
        {"2026-03-05 09:07:02:01", false, "0/0/0 0:0:0.0"},
        {"2026-03-05 09:07:02 x", false, "0/0/0 0:0:0.0"},
        {"", false, "0/0/0 0:0:0.0"},
    };
    for (const Case& c : cases)
    {
        SystemTime t = MakeTime(1, 1, 1, 1, 1, 1, 1);
        EXPECT_EQ(ParseDateTime(c.pszText, &t), c.bOk) << c.pszText;
        EXPECT_EQ(Fields(t), c.pszFields) << c.pszText;
    }
}

TEST(DateTimeText, ParseLocalDateTakesThePiecesInTheGivenOrder)
{
    struct Case
    {
        const char* pszDate;
        const char* pszTime;
        int nOrder;
        bool bOk;
        const char* pszFields;
    };
    const Case cases[] = {
        {"2026-03-05", "00:00:00", platform::kDateOrderYearMonthDay, true, "2026/3/5 0:0:0.0"},
        {"03-05-2026", "10:20:30", platform::kDateOrderMonthDayYear, true, "2026/3/5 10:20:30.0"},
        {"05-03-2026", "10:20:30.5", platform::kDateOrderDayMonthYear, true, "2026/3/5 10:20:30.5"},
        // A year-first log date read month first: no year of 1900 or later comes out.
        {"2026-03-05", "00:00:00", platform::kDateOrderMonthDayYear, true, "5/2026/3 0:0:0.0"},
        {"2026-03-05", "00:00:00", platform::kDateOrderDayMonthYear, true, "5/3/2026 0:0:0.0"},
        {"2026--03-05", "00:00:00", platform::kDateOrderYearMonthDay, true, "2026/3/5 0:0:0.0"},
        {"2026-13-32", "00:00:00", platform::kDateOrderYearMonthDay, true, "2026/13/32 0:0:0.0"},
        {"2026-03", "00:00:00", platform::kDateOrderYearMonthDay, false, "0/0/0 0:0:0.0"},
        {"2026-03-05-01", "00:00:00", platform::kDateOrderYearMonthDay, false, "0/0/0 0:0:0.0"},
        {"2026/03/05", "00:00:00", platform::kDateOrderYearMonthDay, false, "0/0/0 0:0:0.0"},
        {"2026-03-05", "00:00", platform::kDateOrderYearMonthDay, false, "0/0/0 0:0:0.0"},
        {"", "00:00:00", platform::kDateOrderYearMonthDay, false, "0/0/0 0:0:0.0"},
    };
    for (const Case& c : cases)
    {
        SystemTime t = MakeTime(1, 1, 1, 1, 1, 1, 1);
        EXPECT_EQ(ParseLocalDate(c.pszDate, c.pszTime, c.nOrder, &t), c.bOk) << c.pszDate;
        EXPECT_EQ(Fields(t), c.pszFields) << c.pszDate << " order " << c.nOrder;
    }
}

TEST(DateTimeText, ParseLocalDateWithoutAnOrderFollowsTheUsersLocale)
{
    SystemTime byLocale, byOrder;
    ASSERT_TRUE(ParseLocalDate("01-02-2003", "04:05:06", &byLocale));
    ASSERT_TRUE(ParseLocalDate("01-02-2003", "04:05:06", platform::GetDateOrder(), &byOrder));
    EXPECT_EQ(Fields(byLocale), Fields(byOrder));
}

TEST(DateTimeText, PresentLocalTimeIsAPlausibleDate)
{
    SystemTime now = GetPresentLocalTime();
    EXPECT_GE(now.nYear, 2024);
    EXPECT_GE(now.nMonth, 1);
    EXPECT_LE(now.nMonth, 12);
    EXPECT_GE(now.nDay, 1);
    EXPECT_LE(now.nDay, 31);
}
