#include "controls/RowSort.h"

#include <algorithm>

#include "controls/ListColumnInfo.h"
#include "controls/SortValues.h"
#include "platform/CrtNumbers.h"

CSortKey MakeSortKey(int nSortType, const std::string& strText)
{
    CSortKey key;
    switch (nSortType)
    {
    case SORT_ROW_NUMBER:
    case SORT_INTEGER:
        key.eKind = CSortKey::KIND_INTEGER;
        key.nValue = platform::CrtAtol(strText.c_str());
        break;
    case SORT_TEXT:
        key.eKind = CSortKey::KIND_TEXT;
        key.pText = &strText;
        break;
    case SORT_REAL:
        key.eKind = CSortKey::KIND_REAL;
        key.dValue = ToSinglePrecision(platform::CrtAtof(strText.c_str()));
        break;
    case SORT_PERCENT:
        key.eKind = CSortKey::KIND_REAL;
        key.dValue = ParsePercent(strText);
        break;
    case SORT_RESOLUTION:
        key.eKind = CSortKey::KIND_INTEGER;
        key.nValue = ParseResolution(strText);
        break;
    case SORT_BITRATE:
        key.eKind = CSortKey::KIND_INTEGER;
        key.nValue = TruncateToInt64(ParseBitRate(strText));
        break;
    case SORT_BYTES:
        key.eKind = CSortKey::KIND_INTEGER;
        key.nValue = TruncateToInt64(ParseByteSize(strText));
        break;
    case SORT_DURATION:
        key.eKind = CSortKey::KIND_INTEGER;
        key.nValue = TruncateToInt64(ParseDuration(strText));
        break;
    default:
        break;
    }
    return key;
}

int CompareSortKeys(const CSortKey& left, const CSortKey& right)
{
    switch (left.eKind)
    {
    case CSortKey::KIND_INTEGER:
        return left.nValue > right.nValue ? 1 : (left.nValue < right.nValue ? -1 : 0);
    case CSortKey::KIND_REAL:
        return left.dValue > right.dValue ? 1 : (left.dValue < right.dValue ? -1 : 0);
    case CSortKey::KIND_TEXT:
    {
        int nResult = left.pText->compare(*right.pText);
        return nResult > 0 ? 1 : (nResult < 0 ? -1 : 0);
    }
    default:
        return 0;
    }
}

namespace
{

// A row's key value beside its position, so the merge reads keys without an indirection.
template <typename Value> struct SortEntry
{
    Value value;
    std::size_t nPos;
};

// Bottom-up merge sort with one scratch buffer. before(b, a) is true when b must go before a;
// ties take the left run first, which keeps equal rows in their order. The index bounds never
// depend on the comparison results, so an inconsistent order (NaN) is harmless.
template <typename Entry, typename Before>
void MergeSort(std::vector<Entry>& arrEntries, Before before)
{
    const std::size_t nCount = arrEntries.size();
    std::vector<Entry> arrScratch(nCount);
    for (std::size_t nWidth = 1; nWidth < nCount; nWidth *= 2)
    {
        for (std::size_t nLeft = 0; nLeft < nCount; nLeft += 2 * nWidth)
        {
            std::size_t nMid = std::min(nLeft + nWidth, nCount);
            std::size_t nEnd = std::min(nLeft + 2 * nWidth, nCount);
            std::size_t i = nLeft;
            std::size_t j = nMid;
            std::size_t k = nLeft;
            while (i < nMid && j < nEnd)
                arrScratch[k++] =
                    before(arrEntries[j], arrEntries[i]) ? arrEntries[j++] : arrEntries[i++];
            while (i < nMid)
                arrScratch[k++] = arrEntries[i++];
            while (j < nEnd)
                arrScratch[k++] = arrEntries[j++];
        }
        arrEntries.swap(arrScratch);
    }
}

// Sorts the keys' values of one kind, picked out by get, in the direction; less orders values.
template <typename Value, typename Get, typename Less>
std::vector<std::size_t> SortValues(const std::vector<CSortKey>& arrKeys, bool bAscending, Get get,
                                    Less less)
{
    std::vector<SortEntry<Value>> arrEntries(arrKeys.size());
    for (std::size_t i = 0; i < arrKeys.size(); ++i)
        arrEntries[i] = SortEntry<Value>{get(arrKeys[i]), i};
    using Entry = SortEntry<Value>;
    if (bAscending)
        MergeSort(arrEntries,
                  [&](const Entry& b, const Entry& a) { return less(b.value, a.value); });
    else
        MergeSort(arrEntries,
                  [&](const Entry& b, const Entry& a) { return less(a.value, b.value); });
    std::vector<std::size_t> arrOrder(arrEntries.size());
    for (std::size_t i = 0; i < arrEntries.size(); ++i)
        arrOrder[i] = arrEntries[i].nPos;
    return arrOrder;
}

} // namespace

std::vector<std::size_t> StableSortOrder(const std::vector<CSortKey>& arrKeys, bool bAscending)
{
    // All keys of one sort share the kind of the first; one comparison is chosen per sort.
    switch (arrKeys.empty() ? CSortKey::KIND_NONE : arrKeys[0].eKind)
    {
    case CSortKey::KIND_INTEGER:
        return SortValues<std::int64_t>(
            arrKeys, bAscending, [](const CSortKey& key) { return key.nValue; },
            [](std::int64_t a, std::int64_t b) { return a < b; });
    case CSortKey::KIND_REAL:
        return SortValues<double>(
            arrKeys, bAscending, [](const CSortKey& key) { return key.dValue; },
            [](double a, double b) { return a < b; });
    case CSortKey::KIND_TEXT:
        return SortValues<const std::string*>(
            arrKeys, bAscending, [](const CSortKey& key) { return key.pText; },
            [](const std::string* a, const std::string* b) { return a->compare(*b) < 0; });
    default:
    {
        std::vector<std::size_t> arrOrder(arrKeys.size());
        for (std::size_t i = 0; i < arrOrder.size(); ++i)
            arrOrder[i] = i;
        return arrOrder;
    }
    }
}
