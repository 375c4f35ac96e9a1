// The key sort against the order the per-pair comparison defines, on rows with many ties.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/ListColumnInfo.h"
#include "controls/RowSort.h"
#include "controls/SortValues.h"

namespace
{

// A stable insertion sort that compares the texts pair by pair: the reference order.
std::vector<std::size_t> ReferenceOrder(int nSortType, const std::vector<std::string>& arrTexts,
                                        bool bAscending)
{
    std::vector<std::size_t> arrOrder;
    for (std::size_t i = 0; i < arrTexts.size(); ++i)
    {
        std::size_t nPos = arrOrder.size();
        while (nPos > 0)
        {
            int nOrder = CompareCellTexts(nSortType, arrTexts[arrOrder[nPos - 1]], arrTexts[i]);
            if (!bAscending)
                nOrder = -nOrder;
            if (nOrder <= 0)
                break;
            --nPos;
        }
        arrOrder.insert(arrOrder.begin() + nPos, i);
    }
    return arrOrder;
}

// Cell texts for a type, drawn from a small set so that ties and unparsable texts are common.
std::vector<std::string> MakeTexts(int nSortType, std::size_t nCount, std::mt19937& rng)
{
    const std::vector<std::string> arrNumbers = {"0",  "1",   "1.5",  "2",   "10",
                                                 "-3", "512", "1024", "abc", ""};
    std::vector<std::string> arrSuffixes;
    switch (nSortType)
    {
    case SORT_BITRATE:
        arrSuffixes = {"bps", "Kbps", "Mbps", "Gbps", "kbps", ""};
        break;
    case SORT_BYTES:
        arrSuffixes = {" Bytes", " KB", " MB", " GB", " TB", "B", ""};
        break;
    case SORT_DURATION:
        arrSuffixes = {"s", "ms", "us", "ns", ""};
        break;
    case SORT_PERCENT:
        arrSuffixes = {"%", " %", ""};
        break;
    case SORT_RESOLUTION:
        arrSuffixes = {"x480", "x1080", "x", ""};
        break;
    case SORT_TEXT:
        arrSuffixes = {"", "O", "X", "\xB0\xA1", "a"};
        break;
    default:
        arrSuffixes = {"", "e2", ".25"};
        break;
    }
    std::uniform_int_distribution<std::size_t> pickNumber(0, arrNumbers.size() - 1);
    std::uniform_int_distribution<std::size_t> pickSuffix(0, arrSuffixes.size() - 1);
    std::vector<std::string> arrTexts;
    for (std::size_t i = 0; i < nCount; ++i)
        arrTexts.push_back(arrNumbers[pickNumber(rng)] + arrSuffixes[pickSuffix(rng)]);
    return arrTexts;
}

TEST(RowSort, KeySortGivesTheOrderOfThePairwiseComparison)
{
    std::mt19937 rng(6);
    for (int nSortType = SORT_ROW_NUMBER; nSortType <= SORT_DURATION; ++nSortType)
    {
        // Sizes around the merge widths: empty, one row, odd counts, a power of two.
        for (std::size_t nCount : {0u, 1u, 2u, 7u, 64u, 301u})
        {
            std::vector<std::string> arrTexts = MakeTexts(nSortType, nCount, rng);
            std::vector<CSortKey> arrKeys;
            for (const std::string& strText : arrTexts)
                arrKeys.push_back(MakeSortKey(nSortType, strText));
            for (bool bAscending : {true, false})
            {
                SCOPED_TRACE("type " + std::to_string(nSortType) + ", " + std::to_string(nCount) +
                             " rows, " + (bAscending ? "ascending" : "descending"));
                EXPECT_EQ(StableSortOrder(arrKeys, bAscending),
                          ReferenceOrder(nSortType, arrTexts, bAscending));
            }
        }
    }
}

TEST(RowSort, UnknownTypeKeepsTheOrder)
{
    std::vector<std::string> arrTexts = {"3", "1", "2"};
    std::vector<CSortKey> arrKeys;
    for (const std::string& strText : arrTexts)
        arrKeys.push_back(MakeSortKey(0, strText));
    EXPECT_EQ(StableSortOrder(arrKeys, true), (std::vector<std::size_t>{0, 1, 2}));
}

TEST(RowSort, NotANumberStillGivesAPermutation)
{
    // NaN compares equal to everything, so there is no consistent order to check, only that
    // every row comes out exactly once.
    std::vector<std::string> arrTexts;
    for (int i = 0; i < 200; ++i)
        arrTexts.push_back(i % 3 == 0 ? "nan" : std::to_string((i * 37) % 101));
    std::vector<CSortKey> arrKeys;
    for (const std::string& strText : arrTexts)
        arrKeys.push_back(MakeSortKey(SORT_REAL, strText));
    std::vector<std::size_t> arrOrder = StableSortOrder(arrKeys, false);
    std::vector<bool> arrSeen(arrTexts.size(), false);
    ASSERT_EQ(arrOrder.size(), arrTexts.size());
    for (std::size_t n : arrOrder)
    {
        ASSERT_LT(n, arrSeen.size());
        EXPECT_FALSE(arrSeen[n]);
        arrSeen[n] = true;
    }
}

} // namespace
