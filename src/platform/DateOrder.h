// The order in which the user writes dates, from the user's own locale settings.
#pragma once

namespace platform
{

constexpr int kDateOrderYearMonthDay = 1;
constexpr int kDateOrderMonthDayYear = 2;
constexpr int kDateOrderDayMonthYear = 3;

// The order of the user's short date format: 1 year first, 3 day first, 2 month first or
// anything else. On POSIX it is read from the LC_TIME locale of the environment
// (LC_ALL, LC_TIME, LANG), without changing the process locale.
int GetDateOrder();

// The order of a strftime date format such as "%d.%m.%Y", told by its first field;
// 2 when it has none that names a year, month or day.
int DateOrderFromTimeFormat(const char* pszFormat);

} // namespace platform
