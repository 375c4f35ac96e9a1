// Which log entries the recording-error scan of a train looks at: those of today and of the
// days before it, up to a number of days, and none older.
#pragma once

#include <cstdint>
#include <string>

// Local midnight of a log date, read year-month-day as recorders write it (whatever the
// workstation's own date order). FALSE for a text that is not a date and for a date that
// cannot be (month 13, day 32, 31 April, before 1970 or after 3000 in UTC): the scan
// treats it as outside the window, ending there, and never fails the train.
bool LogDateToSeconds(const std::string& strDate, std::int64_t* pSeconds);

// Local midnight of the day of a moment; 0 when the local time cannot be told.
std::int64_t GetLocalDayStart(std::int64_t nNow);

// TRUE when an entry at nEntry lies inside the window: not before nNow, or at most nDays × 86400
// seconds before local midnight nToday. With 7 days the window holds today and the seven days
// before it. nEntry 0 (an unusable date) is always outside.
bool IsInsideErrorWindow(std::int64_t nEntry, std::int64_t nNow, std::int64_t nToday, int nDays);

// The error dates of one scan: each date as the log writes it, once per run of entries with
// the same date, joined by ", " in the order met.
class CErrorDateList
{
public:
    // Adds a date unless it equals, byte for byte, the one added last; TRUE when added.
    bool Add(const std::string& strDate);
    const std::string& GetText() const { return m_strText; }

private:
    std::string m_strText;
    std::string m_strLastDate;
    bool m_bHasLast = false;
};
