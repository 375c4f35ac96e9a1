#include "platform/CrtNumbers.h"

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace platform
{

namespace
{

bool IsCrtSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The shared digits loop of atol and _atoi64, saturating at the given bounds.
std::int64_t ParseSaturated(const char* p, std::int64_t nMax, std::int64_t nMin)
{
    if (p == nullptr)
        return 0;
    while (IsCrtSpace(*p))
        ++p;
    bool bNegative = false;
    if (*p == '+' || *p == '-')
        bNegative = (*p++ == '-');
    // Accumulate as a negative number: its range holds the magnitude of nMin.
    std::int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
    {
        int digit = *p - '0';
        if (value < (nMin + digit) / 10)
        {
            // Past the range: the rest of the digits do not change the result.
            return bNegative ? nMin : nMax;
        }
        value = value * 10 - digit;
    }
    if (bNegative)
        return value;
    return value < -nMax ? nMax : -value;
}

} // namespace

std::int32_t CrtAtol(const char* psz)
{
    return static_cast<std::int32_t>(ParseSaturated(psz, std::numeric_limits<std::int32_t>::max(),
                                                    std::numeric_limits<std::int32_t>::min()));
}

std::int64_t CrtAtoi64(const char* psz)
{
    return ParseSaturated(psz, std::numeric_limits<std::int64_t>::max(),
                          std::numeric_limits<std::int64_t>::min());
}

double CrtAtof(const char* psz)
{
    if (psz == nullptr)
        return 0.0;
    // A GUI toolkit may switch the process to the user's locale; this must not move the
    // decimal point, so the conversion runs in a "C" locale of its own.
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return ::strtod_l(psz, nullptr, cLocale);
}

std::string FormatInt(std::int64_t n)
{
    return std::to_string(n);
}
std::string FormatUInt(std::uint64_t n)
{
    return std::to_string(n);
}

std::string FormatG(double value, int nPrecision)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof(buf), value, std::chars_format::general, nPrecision);
    return std::string(buf, res.ptr);
}

} // namespace platform
