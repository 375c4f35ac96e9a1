// Number conversions with the exact results of the Windows C runtime that the settings
// file and the dialog fields were defined by, independent of the process locale.
#pragma once

#include <cstdint>
#include <string>

namespace platform
{

// atol with a 32-bit long: leading white space, optional sign, decimal digits up to the
// first other character; no digits gives 0; overflow saturates at INT32_MAX / INT32_MIN.
std::int32_t CrtAtol(const char* psz);
// _atoi64: the same rules in 64 bits, saturating at INT64_MAX / INT64_MIN.
std::int64_t CrtAtoi64(const char* psz);
// atof with "." as the decimal point, whatever the locale; no number gives 0.0.
double CrtAtof(const char* psz);

// printf("%d"), printf("%u").
std::string FormatInt(std::int64_t n);
std::string FormatUInt(std::uint64_t n);
// printf("%.*g") in the "C" locale.
std::string FormatG(double value, int nPrecision);

} // namespace platform
