// Date and time texts of the line check: the check time it writes and reads back, and the
// dates of a recorder's log.
#pragma once

#include <string>

#include "platform/Clock.h"

// "YYYY-MM-DD hh:mm:ss" (four-digit year, every other field two digits).
std::string FormatDateTime(const platform::SystemTime& time);

// Reads what FormatDateTime writes, also with milliseconds after the seconds
// ("2026-03-05 09:07:02.250"). FALSE, with every field zero, for any other shape.
bool ParseDateTime(const std::string& strText, platform::SystemTime* pTime);

// A date ("-" between its three numbers, empty pieces skipped) in the given order
// (platform::kDateOrder...) and a time "hh:mm:ss" or "hh:mm:ss.mmm". Numbers are read like
// atol, so no range is checked here. FALSE, with every field zero, when the date does not
// have three pieces or the time does not have three.
bool ParseLocalDate(const std::string& strDate, const std::string& strTime, int nDateOrder,
                    platform::SystemTime* pTime);
// The same in the user's date order (platform::GetDateOrder).
bool ParseLocalDate(const std::string& strDate, const std::string& strTime,
                    platform::SystemTime* pTime);

// The present local time, every field zero when it cannot be told.
platform::SystemTime GetPresentLocalTime();
