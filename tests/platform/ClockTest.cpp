#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Clock.h"
#include "platform/DateOrder.h"
#include "platform/File.h"
#include "support/TempDir.h"

using namespace platform;

namespace
{

// TZ (or another variable) set for one test and put back afterwards.
class CScopedEnv
{
public:
    CScopedEnv(const char* pszName, const char* pszValue) : m_strName(pszName)
    {
        const char* pszOld = std::getenv(pszName);
        m_bHadOld = pszOld != nullptr;
        if (m_bHadOld)
            m_strOld = pszOld;
        ::setenv(pszName, pszValue, 1);
        ::tzset();
    }
    ~CScopedEnv()
    {
        if (m_bHadOld)
            ::setenv(m_strName.c_str(), m_strOld.c_str(), 1);
        else
            ::unsetenv(m_strName.c_str());
        ::tzset();
    }

private:
    std::string m_strName;
    bool m_bHadOld = false;
    std::string m_strOld;
};

SystemTime MakeTime(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    SystemTime t;
    t.nYear = y;
    t.nMonth = mo;
    t.nDay = d;
    t.nHour = h;
    t.nMinute = mi;
    t.nSecond = s;
    return t;
}

} // namespace

TEST(Clock, TickCountAndCalendarTimeAdvanceTogether)
{
    std::uint32_t t1 = GetTickCount();
    std::int64_t s1 = GetTimeSeconds();
    std::uint32_t t2 = GetTickCount();
    EXPECT_LT(t2 - t1, 10000u); // unsigned difference: correct across a wrap too
    EXPECT_GT(s1, 1700000000);  // after November 2023
    EXPECT_LE(s1, static_cast<std::int64_t>(std::time(nullptr)));
}

TEST(Clock, LocalTimeBothWays)
{
    CScopedEnv zone("TZ", "KST-9");
    SystemTime t;
    ASSERT_TRUE(ToLocalTime(0, &t));
    EXPECT_EQ(t.nYear, 1970);
    EXPECT_EQ(t.nMonth, 1);
    EXPECT_EQ(t.nDay, 1);
    EXPECT_EQ(t.nHour, 9);
    EXPECT_EQ(t.nDayOfWeek, 4); // a Thursday
    std::int64_t n = -1;
    EXPECT_TRUE(FromLocalTime(t, &n));
    EXPECT_EQ(n, 0);

    ASSERT_TRUE(ToLocalTime(1773154800, &t)); // 2026-03-10 15:00:00 UTC
    EXPECT_EQ(t.nDay, 11);
    EXPECT_EQ(t.nHour, 0);

    EXPECT_FALSE(ToLocalTime(-1, &t));
    EXPECT_EQ(t.nYear, 0);
}

TEST(Clock, FromLocalTimeRefusesWhatCannotBe)
{
    CScopedEnv zone("TZ", "UTC0");
    struct Case
    {
        SystemTime time;
        bool bOk;
        std::int64_t nSeconds;
    };
    const Case cases[] = {
        {MakeTime(1970, 1, 1), true, 0},
        {MakeTime(2024, 2, 29, 23, 59, 59), true, 1709251199},
        {MakeTime(3000, 12, 31, 23, 59, 59), true, 32535215999},
        {MakeTime(1969, 12, 31, 23, 59, 59), false, 0},
        {MakeTime(3001, 1, 1), false, 0},
        {MakeTime(2023, 2, 29), false, 0},
        {MakeTime(2026, 4, 31), false, 0},
        {MakeTime(2026, 13, 1), false, 0},
        {MakeTime(2026, 0, 1), false, 0},
        {MakeTime(2026, 1, 32), false, 0},
        {MakeTime(2026, 1, 1, 24), false, 0},
        {MakeTime(2026, 1, 1, 0, 60), false, 0},
        {MakeTime(2026, 1, 1, 0, 0, 60), false, 0},
        {MakeTime(-5, 1, 1), false, 0},
        {MakeTime(70000, 1, 1), false, 0},
    };
    for (const Case& c : cases)
    {
        std::int64_t n = -1;
        EXPECT_EQ(FromLocalTime(c.time, &n), c.bOk)
            << c.time.nYear << "-" << c.time.nMonth << "-" << c.time.nDay;
        EXPECT_EQ(n, c.nSeconds) << c.time.nYear << "-" << c.time.nMonth << "-" << c.time.nDay;
    }
}

TEST(Clock, LocalMidnightOnADaylightSavingChangeKeepsItsDate)
{
    // Central Europe moves from 02:00 to 03:00 on the last Sunday of March.
    CScopedEnv zone("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    std::int64_t nMidnight = 0, nNoon = 0;
    ASSERT_TRUE(FromLocalTime(MakeTime(2026, 3, 29), &nMidnight));
    ASSERT_TRUE(FromLocalTime(MakeTime(2026, 3, 29, 12), &nNoon));
    EXPECT_EQ(nNoon - nMidnight, 11 * 3600); // one hour of the day does not exist
    std::int64_t nSkipped = 0;
    EXPECT_TRUE(FromLocalTime(MakeTime(2026, 3, 29, 2, 30), &nSkipped)); // moved, same date
}

TEST(DateOrder, FirstDateFieldOfTheFormatDecides)
{
    struct Case
    {
        const char* pszFormat;
        int nOrder;
    };
    const Case cases[] = {
        {"%m/%d/%y", kDateOrderMonthDayYear}, // C and en_US
        {"%d.%m.%Y", kDateOrderDayMonthYear}, // de_DE
        {"%d/%m/%y", kDateOrderDayMonthYear}, // en_GB
        {"%Y-%m-%d", kDateOrderYearMonthDay},
        {"%Y\xEB\x85\x84 %m\xEC\x9B\x94 %d\xEC\x9D\xBC", kDateOrderYearMonthDay}, // ko_KR
        {"%F", kDateOrderYearMonthDay},
        {"%D", kDateOrderMonthDayYear},
        {"%e/%m/%Y", kDateOrderDayMonthYear},
        {"%a %d %b %Y", kDateOrderDayMonthYear}, // a weekday name first
        {"%b %d, %Y", kDateOrderMonthDayYear},
        {"%Ey\xE5\xB9\xB4%m\xE6\x9C\x88%d\xE6\x97\xA5", kDateOrderYearMonthDay}, // era year
        {"%-d.%-m.%Y", kDateOrderDayMonthYear},
        {"%%d %Y", kDateOrderYearMonthDay}, // "%%" is a literal percent sign
        {"no fields", kDateOrderMonthDayYear},
        {"%", kDateOrderMonthDayYear},
        {"", kDateOrderMonthDayYear},
        {nullptr, kDateOrderMonthDayYear},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DateOrderFromTimeFormat(c.pszFormat), c.nOrder)
            << (c.pszFormat ? c.pszFormat : "(null)");
}

TEST(DateOrder, UsersLocaleIsReadFromTheEnvironment)
{
    {
        CScopedEnv all("LC_ALL", "C");
        EXPECT_EQ(GetDateOrder(), kDateOrderMonthDayYear);
    }
    {
        // A locale that is not installed must not fail: the "C" order stands in.
        CScopedEnv all("LC_ALL", "xx_NOWHERE.UTF-8");
        EXPECT_EQ(GetDateOrder(), kDateOrderMonthDayYear);
    }
    int nOrder = GetDateOrder();
    EXPECT_GE(nOrder, kDateOrderYearMonthDay);
    EXPECT_LE(nOrder, kDateOrderDayMonthYear);
}

// GetDateOrder in a child with LOCPATH and the given variables set; its exit code is the
// order. A child, because glibc keeps a little memory for each LOCPATH lookup for good.
int DateOrderInChild(const std::string& strLocPath, const char* pszLcAll, const char* pszLcTime)
{
    pid_t pid = ::fork();
    if (pid == 0)
    {
        ::setenv("LOCPATH", strLocPath.c_str(), 1);
        ::setenv("LC_ALL", pszLcAll, 1);
        ::setenv("LC_TIME", pszLcTime, 1);
        ::_exit(GetDateOrder());
    }
    int nStatus = 0;
    if (pid < 0 || ::waitpid(pid, &nStatus, 0) != pid || !WIFEXITED(nStatus))
        return -1;
    return WEXITSTATUS(nStatus);
}

TEST(DateOrder, InstalledLocalesGiveTheirOwnOrder)
{
    // Compiles the locales into a folder of the test's own, so nothing is installed.
    if (!platform::PathExists("/usr/share/i18n/locales/de_DE") ||
        !platform::PathExists("/usr/share/i18n/locales/ko_KR"))
        GTEST_SKIP() << "locale sources (Debian package locales) are not installed";
    CTempDir dir;
    for (const char* pszName : {"de_DE", "ko_KR"})
    {
        std::string command = std::string("localedef -i ") + pszName + " -f UTF-8 '" +
                              dir.File(std::string(pszName) + ".UTF-8") + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            GTEST_SKIP() << "localedef could not build " << pszName;
    }
    EXPECT_EQ(DateOrderInChild(dir.Path(), "de_DE.UTF-8", "C"), kDateOrderDayMonthYear);
    EXPECT_EQ(DateOrderInChild(dir.Path(), "ko_KR.UTF-8", "C"), kDateOrderYearMonthDay);
    // LC_TIME decides when LC_ALL is empty.
    EXPECT_EQ(DateOrderInChild(dir.Path(), "", "de_DE.UTF-8"), kDateOrderDayMonthYear);
    EXPECT_EQ(DateOrderInChild(dir.Path(), "", "C"), kDateOrderMonthDayYear);
}
