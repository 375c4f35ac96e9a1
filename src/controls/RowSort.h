// Sorting list rows by one column: each row's cell is turned into a key once, then a stable
// merge sort orders the row positions by those keys, O(n log n) comparisons of keys.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The value a cell stands for in its column's sort type.
struct CSortKey
{
    enum Kind
    {
        KIND_NONE,    // sort type outside 1..9: every key is equal
        KIND_INTEGER, // nValue
        KIND_REAL,    // dValue (NaN equals everything, like the comparison it stands for)
        KIND_TEXT,    // *pText, unsigned bytes
    };
    Kind eKind = KIND_NONE;
    std::int64_t nValue = 0;
    double dValue = 0.0;
    const std::string* pText = nullptr; // the cell itself; valid while the rows are not changed
};

// The key of a cell text; a text key points at strText, which must outlive the key.
CSortKey MakeSortKey(int nSortType, const std::string& strText);
// 1, 0 or -1 as CompareCellTexts gives for the texts the keys were made from.
int CompareSortKeys(const CSortKey& left, const CSortKey& right);

// The positions 0..n-1 ordered by their keys, ascending or descending; equal keys keep their
// positions' order. Any comparison result is safe (a NaN never breaks the sort).
std::vector<std::size_t> StableSortOrder(const std::vector<CSortKey>& arrKeys, bool bAscending);
