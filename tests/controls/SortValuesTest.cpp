// The order each sort type gives two cell texts, and the readers behind the unit types.
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "controls/ListColumnInfo.h"
#include "controls/RowSort.h"
#include "controls/SortValues.h"

namespace
{

struct CompareCase
{
    int nSortType;
    const char* pszLeft;
    const char* pszRight;
    int nExpected; // ascending order of left against right
};

const CompareCase kCompareCases[] = {
    // Bit rates: units of 1024, the letter right before "bps", case matters.
    {SORT_BITRATE, "512bps", "1Kbps", -1},
    {SORT_BITRATE, "1Kbps", "1024bps", 0},
    {SORT_BITRATE, "1.5Kbps", "1536bps", 0},
    {SORT_BITRATE, "2Mbps", "2097152bps", 0},
    {SORT_BITRATE, "1Gbps", "1023Mbps", 1},
    {SORT_BITRATE, "1 Kbps", "1024bps", 0},
    {SORT_BITRATE, "1kbps", "", 0},
    {SORT_BITRATE, "bps", "", 0},
    {SORT_BITRATE, "1 bps", "", 0},
    {SORT_BITRATE, "fast", "", 0},
    // Sizes: "Bytes" is read with atol, a unit letter before a final "B" with atof.
    {SORT_BYTES, "1.5 MB", "1572864 Bytes", 0},
    {SORT_BYTES, "300 Bytes", "299 Bytes", 1},
    {SORT_BYTES, "1 KB", "1024 Bytes", 0},
    {SORT_BYTES, "1.9 Bytes", "1 Bytes", 0},
    {SORT_BYTES, "1 TB", "1023 GB", 1},
    {SORT_BYTES, "300B", "", 0},
    {SORT_BYTES, "B", "", 0},
    {SORT_BYTES, "Bytes", "", 0},
    {SORT_BYTES, "5 XB", "", 0},
    {SORT_BYTES, "5 kB", "", 0},
    // Beyond the int64 range the truncation gives INT64_MIN, below every small size.
    {SORT_BYTES, "1e30 KB", "1 Bytes", -1},
    // Durations in microseconds.
    {SORT_DURATION, "1s", "1000ms", 0},
    {SORT_DURATION, "1000ms", "1000000us", 0},
    {SORT_DURATION, "1.5s", "1500ms", 0},
    {SORT_DURATION, "2ms", "1999us", 1},
    {SORT_DURATION, "X", "", 0},
    {SORT_DURATION, "s", "", 0},
    {SORT_DURATION, "5", "", 0},
    {SORT_DURATION, "5 s", "", 0},
    {SORT_DURATION, "3ns", "", 0},
    {SORT_DURATION, "1us", "", 1},
    // Text: unsigned bytes, no case folding, no collation.
    {SORT_TEXT, "", "O", -1},
    {SORT_TEXT, "", "X", -1},
    {SORT_TEXT, "O", "X", -1},
    {SORT_TEXT, "a", "B", 1},
    {SORT_TEXT, "ab", "abc", -1},
    {SORT_TEXT, "\xB0\xA1", "z", 1}, // a Korean lead byte is above every ASCII byte
    {SORT_TEXT, "same", "same", 0},
    // Integers and row numbers: 32-bit atol.
    {SORT_INTEGER, "10", "9", 1},
    {SORT_INTEGER, "-1", "0", -1},
    {SORT_INTEGER, "abc", "0", 0},
    {SORT_INTEGER, "  42x", "42", 0},
    {SORT_INTEGER, "99999999999", "2147483647", 0},
    {SORT_ROW_NUMBER, "10", "2", 1},
    // Reals compare in single precision.
    {SORT_REAL, "1.5", "1.25", 1},
    {SORT_REAL, "0.1", "0.10000000149", 0},
    {SORT_REAL, "0.1", "0.1000001", -1},
    {SORT_REAL, "1e39", "1e40", 0},
    // Percentages: only a text ending with "%" has a value.
    {SORT_PERCENT, "50%", "9.5%", 1},
    {SORT_PERCENT, "50", "", 0},
    {SORT_PERCENT, "12.5 %", "12.5%", 0},
    {SORT_PERCENT, "-3%", "", -1},
    // Resolutions: the product of "%dx%d" in 32 bits.
    {SORT_RESOLUTION, "1920x1080", "1280x720", 1},
    {SORT_RESOLUTION, "1920x1080", "1080x1920", 0},
    {SORT_RESOLUTION, "640x 480", "480x640", 0},
    {SORT_RESOLUTION, "640 x 480", "", 0},
    {SORT_RESOLUTION, "1920*1080", "", 0},
    {SORT_RESOLUTION, "1920x", "", 0},
    {SORT_RESOLUTION, "65536x65536", "", 0},
    // Other types leave every pair equal.
    {0, "1", "2", 0},
    {10, "1", "2", 0},
};

TEST(SortValues, CompareCellTextsTable)
{
    for (const CompareCase& c : kCompareCases)
    {
        SCOPED_TRACE(std::string("type ") + std::to_string(c.nSortType) + " '" + c.pszLeft +
                     "' vs '" + c.pszRight + "'");
        EXPECT_EQ(CompareCellTexts(c.nSortType, c.pszLeft, c.pszRight), c.nExpected);
        EXPECT_EQ(CompareCellTexts(c.nSortType, c.pszRight, c.pszLeft), -c.nExpected);
        // The keys made once per row must order exactly as the texts do.
        std::string strLeft = c.pszLeft;
        std::string strRight = c.pszRight;
        EXPECT_EQ(
            CompareSortKeys(MakeSortKey(c.nSortType, strLeft), MakeSortKey(c.nSortType, strRight)),
            c.nExpected);
    }
}

TEST(SortValues, UnitReadersGiveTheirValues)
{
    EXPECT_EQ(ParseByteSize("1.5 MB"), 1572864.0);
    EXPECT_EQ(ParseByteSize("300 Bytes"), 300.0);
    EXPECT_EQ(ParseByteSize("2 TB"), 2.0 * 1024 * 1024 * 1024 * 1024);
    EXPECT_EQ(ParseBitRate("512bps"), 512.0);
    EXPECT_EQ(ParseBitRate("1Kbps"), 1024.0);
    EXPECT_EQ(ParseBitRate("3Gbps"), 3.0 * 1024 * 1024 * 1024);
    EXPECT_EQ(ParseDuration("2s"), 2000000.0);
    EXPECT_EQ(ParseDuration("15ms"), 15000.0);
    EXPECT_EQ(ParseDuration("300us"), 300.0);
    EXPECT_EQ(ParsePercent("99.5%"), 99.5);
    EXPECT_EQ(ParseResolution("1920x1080"), 1920 * 1080);
    EXPECT_EQ(ParseResolution("-2x3"), -6);
}

TEST(SortValues, ConversionsAtTheLimits)
{
    const std::int64_t nMin = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(TruncateToInt64(std::nan("")), nMin);
    EXPECT_EQ(TruncateToInt64(1e19), nMin);
    EXPECT_EQ(TruncateToInt64(-1e19), nMin);
    EXPECT_EQ(TruncateToInt64(-9223372036854775808.0), nMin);
    EXPECT_EQ(TruncateToInt64(9223372036854774784.0), 9223372036854774784LL);
    EXPECT_EQ(TruncateToInt64(-2.9), -2);

    EXPECT_TRUE(std::isinf(ToSinglePrecision(1e300)));
    EXPECT_TRUE(std::isinf(ToSinglePrecision(-1e300)));
    EXPECT_TRUE(std::isnan(ToSinglePrecision(std::nan(""))));
    EXPECT_EQ(ToSinglePrecision(0.1), static_cast<double>(0.1f));
}

} // namespace
