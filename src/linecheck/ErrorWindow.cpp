#include "linecheck/ErrorWindow.h"

#include "linecheck/DateTimeText.h"
#include "platform/Clock.h"
#include "platform/DateOrder.h"

bool LogDateToSeconds(const std::string& strDate, std::int64_t* pSeconds)
{
    *pSeconds = 0;
    platform::SystemTime date;
    if (!ParseLocalDate(strDate, "00:00:00", platform::kDateOrderYearMonthDay, &date))
        return false;
    return platform::FromLocalTime(date, pSeconds);
}

std::int64_t GetLocalDayStart(std::int64_t nNow)
{
    platform::SystemTime today;
    if (!platform::ToLocalTime(nNow, &today))
        return 0;
    today.nHour = 0;
    today.nMinute = 0;
    today.nSecond = 0;
    std::int64_t nStart = 0;
    return platform::FromLocalTime(today, &nStart) ? nStart : 0;
}

bool IsInsideErrorWindow(std::int64_t nEntry, std::int64_t nNow, std::int64_t nToday, int nDays)
{
    if (nEntry <= 0)
        return false; // an unusable date ends the scan even when today is unknown (0)
    return nEntry >= nNow || nToday - nEntry <= static_cast<std::int64_t>(nDays) * 86400;
}

bool CErrorDateList::Add(const std::string& strDate)
{
    if (m_bHasLast && strDate == m_strLastDate)
        return false;
    m_strLastDate = strDate;
    m_bHasLast = true;
    if (!m_strText.empty())
        m_strText += ", ";
    m_strText += strDate;
    return true;
}
