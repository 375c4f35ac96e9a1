// The values that list cells stand for when rows are sorted, one reader per sort type,
// and the comparison of two cell texts that defines each type's order.
#pragma once

#include <cstdint>
#include <string>

// "%dx%d" read from the text, multiplied in 32 bits; 0 unless both numbers were read.
std::int32_t ParseResolution(const std::string& strText);
// atof of the text before a final "%"; 0 when the text does not end with "%".
double ParsePercent(const std::string& strText);
// Bits per second of "512bps", "1Kbps", "1.5Mbps", "2Gbps" (units of 1024); 0 otherwise.
double ParseBitRate(const std::string& strText);
// Bytes of "300 Bytes", "1.5 KB", "2 MB", "3 GB", "4 TB" (units of 1024); 0 otherwise.
double ParseByteSize(const std::string& strText);
// Microseconds of "2s", "15ms", "300us"; 0 for "", "X" and anything else.
double ParseDuration(const std::string& strText);

// atof narrowed to single precision the way the FPU does it (overflow gives an infinity),
// without the undefined behaviour of a plain cast of an out-of-range double.
double ToSinglePrecision(double dValue);
// The 64-bit truncation of a double as the x86 conversion gives it: NaN and values outside
// the int64 range become INT64_MIN.
std::int64_t TruncateToInt64(double dValue);

// Order of two cells of a column of the given sort type, ascending: 1 when the first is
// greater, -1 when smaller, 0 when equal or when the type is not one of 1..9.
int CompareCellTexts(int nSortType, const std::string& strLeft, const std::string& strRight);
