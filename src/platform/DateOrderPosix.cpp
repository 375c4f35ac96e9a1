#include "platform/DateOrder.h"

#include <clocale>
#include <langinfo.h>
#include <locale.h>

namespace platform
{

int DateOrderFromTimeFormat(const char* pszFormat)
{
    if (pszFormat == nullptr)
        return kDateOrderMonthDayYear;
    for (const char* p = pszFormat; *p != '\0'; ++p)
    {
        if (*p != '%')
            continue;
        ++p;
        // Flags, width and the E/O modifiers come between '%' and the conversion.
        while (*p == '-' || *p == '_' || *p == '0' || *p == '^' || *p == '#' || *p == 'E' ||
               *p == 'O' || (*p >= '1' && *p <= '9'))
            ++p;
        switch (*p)
        {
        case '\0':
            return kDateOrderMonthDayYear;
        case 'Y':
        case 'y':
        case 'G':
        case 'g':
        case 'C':
        case 'F': // %Y-%m-%d
            return kDateOrderYearMonthDay;
        case 'd':
        case 'e':
            return kDateOrderDayMonthYear;
        case 'm':
        case 'b':
        case 'B':
        case 'h':
        case 'D': // %m/%d/%y
            return kDateOrderMonthDayYear;
        default: // weekday names and literal text come before the date in some locales
            break;
        }
    }
    return kDateOrderMonthDayYear;
}

int GetDateOrder()
{
    // An unknown locale name in the environment falls back to the "C" locale (month first).
    locale_t loc = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0))
        loc = ::newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0))
        return kDateOrderMonthDayYear;
    int nOrder = DateOrderFromTimeFormat(::nl_langinfo_l(D_FMT, loc));
    ::freelocale(loc);
    return nOrder;
}

} // namespace platform
