#include "controls/SortValues.h"

#include <cfloat>
#include <cmath>
#include <limits>

#include "controls/ListColumnInfo.h"
#include "platform/CrtNumbers.h"

namespace
{

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

double AtofOfPrefix(const std::string& strText, std::size_t nLength)
{
    return platform::CrtAtof(strText.substr(0, nLength).c_str());
}

// sscanf "%d": white space, an optional sign, at least one digit; digits beyond 32 bits wrap
// as the C runtime's accumulator does. Returns the position after the number or npos.
std::size_t ScanInt(const std::string& strText, std::size_t nPos, std::int32_t& nValue)
{
    while (nPos < strText.size() &&
           (strText[nPos] == ' ' || (strText[nPos] >= '\t' && strText[nPos] <= '\r')))
        ++nPos;
    bool bNegative = false;
    if (nPos < strText.size() && (strText[nPos] == '+' || strText[nPos] == '-'))
        bNegative = strText[nPos++] == '-';
    if (nPos >= strText.size() || !IsDigit(strText[nPos]))
        return std::string::npos;
    std::uint32_t nAccumulated = 0;
    while (nPos < strText.size() && IsDigit(strText[nPos]))
        nAccumulated = nAccumulated * 10u + static_cast<std::uint32_t>(strText[nPos++] - '0');
    if (bNegative)
        nAccumulated = 0u - nAccumulated;
    nValue = static_cast<std::int32_t>(nAccumulated);
    return nPos;
}

template <typename T> int Order(T left, T right)
{
    if (left > right)
        return 1;
    if (left < right)
        return -1;
    return 0;
}

} // namespace

std::int32_t ParseResolution(const std::string& strText)
{
    std::int32_t nWidth = 0;
    std::int32_t nHeight = 0;
    std::size_t nPos = ScanInt(strText, 0, nWidth);
    if (nPos == std::string::npos || nPos >= strText.size() || strText[nPos] != 'x')
        return 0;
    if (ScanInt(strText, nPos + 1, nHeight) == std::string::npos)
        return 0;
    // The product wraps in 32 bits like the int multiplication it stands for.
    std::uint32_t nProduct =
        static_cast<std::uint32_t>(nWidth) * static_cast<std::uint32_t>(nHeight);
    return static_cast<std::int32_t>(nProduct);
}

double ParsePercent(const std::string& strText)
{
    if (strText.empty() || strText.back() != '%')
        return 0.0;
    return AtofOfPrefix(strText, strText.size() - 1);
}

double ParseBitRate(const std::string& strText)
{
    std::size_t nPos = strText.find("bps");
    if (nPos == std::string::npos || nPos == 0)
        return 0.0;
    char cUnit = strText[nPos - 1];
    if (IsDigit(cUnit))
        return AtofOfPrefix(strText, nPos);
    double dNumber = AtofOfPrefix(strText, nPos - 1);
    switch (cUnit)
    {
    case 'K':
        return dNumber * 1024.0;
    case 'M':
        return dNumber * 1024.0 * 1024.0;
    case 'G':
        return dNumber * 1024.0 * 1024.0 * 1024.0;
    default:
        return 0.0;
    }
}

double ParseByteSize(const std::string& strText)
{
    std::size_t nPos = strText.find("Bytes");
    if (nPos != std::string::npos && nPos > 0)
        return platform::CrtAtol(strText.substr(0, nPos).c_str());
    if (strText.size() < 2 || strText.back() != 'B')
        return 0.0;
    std::size_t nUnit = strText.size() - 2;
    double dNumber = AtofOfPrefix(strText, nUnit);
    switch (strText[nUnit])
    {
    case 'K':
        return dNumber * 1024.0;
    case 'M':
        return dNumber * 1024.0 * 1024.0;
    case 'G':
        return dNumber * 1024.0 * 1024.0 * 1024.0;
    case 'T':
        return dNumber * 1024.0 * 1024.0 * 1024.0 * 1024.0;
    default:
        return 0.0;
    }
}

double ParseDuration(const std::string& strText)
{
    if (strText.empty() || strText == "X" || strText.back() != 's' || strText.size() < 2)
        return 0.0;
    std::size_t nUnit = strText.size() - 2;
    char cUnit = strText[nUnit];
    if (IsDigit(cUnit))
        return AtofOfPrefix(strText, strText.size() - 1) * 1000.0 * 1000.0;
    if (cUnit == 'm')
        return AtofOfPrefix(strText, nUnit) * 1000.0;
    if (cUnit == 'u')
        return AtofOfPrefix(strText, nUnit);
    return 0.0;
}

double ToSinglePrecision(double dValue)
{
    // Halfway between FLT_MAX and the next power of two: from here on rounding gives infinity.
    const double dOverflow = 0x1.ffffffp127;
    if (std::isnan(dValue))
        return dValue;
    if (dValue >= dOverflow)
        return std::numeric_limits<double>::infinity();
    if (dValue <= -dOverflow)
        return -std::numeric_limits<double>::infinity();
    if (dValue > FLT_MAX)
        return FLT_MAX;
    if (dValue < -FLT_MAX)
        return -FLT_MAX;
    return static_cast<float>(dValue);
}

std::int64_t TruncateToInt64(double dValue)
{
    // 2^63: the first value above the int64 range; -2^63 itself is in range.
    const double dLimit = 9223372036854775808.0;
    if (!(dValue >= -dLimit && dValue < dLimit))
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(dValue);
}

int CompareCellTexts(int nSortType, const std::string& strLeft, const std::string& strRight)
{
    switch (nSortType)
    {
    case SORT_ROW_NUMBER:
    case SORT_INTEGER:
        return Order(platform::CrtAtol(strLeft.c_str()), platform::CrtAtol(strRight.c_str()));
    case SORT_TEXT:
    {
        int nResult = strLeft.compare(strRight);
        return nResult > 0 ? 1 : (nResult < 0 ? -1 : 0);
    }
    case SORT_REAL:
        return Order(ToSinglePrecision(platform::CrtAtof(strLeft.c_str())),
                     ToSinglePrecision(platform::CrtAtof(strRight.c_str())));
    case SORT_PERCENT:
        return Order(ParsePercent(strLeft), ParsePercent(strRight));
    case SORT_RESOLUTION:
        return Order(ParseResolution(strLeft), ParseResolution(strRight));
    case SORT_BITRATE:
        return Order(TruncateToInt64(ParseBitRate(strLeft)),
                     TruncateToInt64(ParseBitRate(strRight)));
    case SORT_BYTES:
        return Order(TruncateToInt64(ParseByteSize(strLeft)),
                     TruncateToInt64(ParseByteSize(strRight)));
    case SORT_DURATION:
        return Order(TruncateToInt64(ParseDuration(strLeft)),
                     TruncateToInt64(ParseDuration(strRight)));
    default:
        return 0;
    }
}
