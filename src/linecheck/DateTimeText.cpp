#include "linecheck/DateTimeText.h"

#include <cstdio>
#include <vector>

#include "platform/CrtNumbers.h"
#include "platform/DateOrder.h"

namespace
{

// Pieces of a text between separators; empty pieces are skipped.
std::vector<std::string> SplitSkippingEmpty(const std::string& strText, char cSeparator)
{
    std::vector<std::string> pieces;
    std::string::size_type nStart = 0;
    while (nStart <= strText.size())
    {
        std::string::size_type nEnd = strText.find(cSeparator, nStart);
        if (nEnd == std::string::npos)
            nEnd = strText.size();
        if (nEnd > nStart)
            pieces.push_back(strText.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return pieces;
}

int Atol(const std::string& str)
{
    return static_cast<int>(platform::CrtAtol(str.c_str()));
}

// "hh:mm:ss" or "hh:mm:ss.mmm" into the time fields.
bool ParseClockText(const std::string& strTime, platform::SystemTime* pTime)
{
    std::vector<std::string> parts = SplitSkippingEmpty(strTime, ':');
    if (parts.size() != 3)
        return false;
    pTime->nHour = Atol(parts[0]);
    pTime->nMinute = Atol(parts[1]);
    std::string::size_type nDot = parts[2].find('.');
    if (nDot == std::string::npos)
    {
        pTime->nSecond = Atol(parts[2]);
    }
    else
    {
        pTime->nSecond = Atol(parts[2].substr(0, nDot));
        pTime->nMilliseconds = Atol(parts[2].substr(nDot + 1));
    }
    return true;
}

} // namespace

std::string FormatDateTime(const platform::SystemTime& time)
{
    char text[96]; // room for six full ints with their signs
    std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d", time.nYear, time.nMonth,
                  time.nDay, time.nHour, time.nMinute, time.nSecond);
    return text;
}

bool ParseDateTime(const std::string& strText, platform::SystemTime* pTime)
{
    *pTime = platform::SystemTime();
    std::vector<std::string> halves = SplitSkippingEmpty(strText, ' ');
    if (halves.size() != 2)
        return false;
    std::vector<std::string> date = SplitSkippingEmpty(halves[0], '-');
    if (date.size() != 3)
        return false;
    platform::SystemTime parsed;
    parsed.nYear = Atol(date[0]);
    parsed.nMonth = Atol(date[1]);
    parsed.nDay = Atol(date[2]);
    if (!ParseClockText(halves[1], &parsed))
        return false;
    *pTime = parsed;
    return true;
}

bool ParseLocalDate(const std::string& strDate, const std::string& strTime, int nDateOrder,
                    platform::SystemTime* pTime)
{
    *pTime = platform::SystemTime();
    std::vector<std::string> date = SplitSkippingEmpty(strDate, '-');
    if (date.size() != 3)
        return false;
    platform::SystemTime parsed;
    switch (nDateOrder)
    {
    case platform::kDateOrderYearMonthDay:
        parsed.nYear = Atol(date[0]);
        parsed.nMonth = Atol(date[1]);
        parsed.nDay = Atol(date[2]);
        break;
    case platform::kDateOrderDayMonthYear:
        parsed.nDay = Atol(date[0]);
        parsed.nMonth = Atol(date[1]);
        parsed.nYear = Atol(date[2]);
        break;
    default: // month, day, year
        parsed.nMonth = Atol(date[0]);
        parsed.nDay = Atol(date[1]);
        parsed.nYear = Atol(date[2]);
        break;
    }
    if (!ParseClockText(strTime, &parsed))
        return false;
    *pTime = parsed;
    return true;
}

bool ParseLocalDate(const std::string& strDate, const std::string& strTime,
                    platform::SystemTime* pTime)
{
    return ParseLocalDate(strDate, strTime, platform::GetDateOrder(), pTime);
}

platform::SystemTime GetPresentLocalTime()
{
    platform::SystemTime now;
    platform::ToLocalTime(platform::GetTimeSeconds(), &now); // leaves zeros on failure
    return now;
}
