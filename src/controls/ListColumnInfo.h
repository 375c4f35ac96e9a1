// One column of the extended list: its title, width, alignment and how its cells sort.
#pragma once

#include <cstdint>
#include <string>

// How the cells of a column are turned into values when the rows are sorted by it.
enum ListSortType : int
{
    SORT_ROW_NUMBER = 1, // atol of the text; column 0 of this type is renumbered 1..N
    SORT_TEXT = 2,       // the bytes, as unsigned bytes (strcmp order, no collation)
    SORT_INTEGER = 3,    // atol of the text
    SORT_REAL = 4,       // atof of the text in single precision
    SORT_PERCENT = 5,    // atof of the text before a final "%", else 0
    SORT_RESOLUTION = 6, // width x height of "%dx%d" as a 32-bit product
    SORT_BITRATE = 7,    // "512bps", "1.5Kbps", "2Mbps", "1Gbps" in bits per second
    SORT_BYTES = 8,      // "300 Bytes", "1.5 MB", "2 TB" in bytes
    SORT_DURATION = 9,   // "2s", "15ms", "300us" in microseconds
};

// Alignment of a column's cells; the values are those of the list view's LVCFMT_* flags.
enum ListColumnFormat : int
{
    LIST_FORMAT_LEFT = 0,
    LIST_FORMAT_RIGHT = 1,
    LIST_FORMAT_CENTER = 2,
};

struct ListColumnInfo
{
    std::string strTitle; // stored without the sort arrow
    int nWidth = 0;       // pixels
    int nHeaderImage = 0; // kept, never drawn
    int nSortType = 0;    // a ListSortType; any other value leaves the order unchanged
    int bSortable = 0;    // 0: clicks on the title are ignored
    int bAscending = 0;   // direction of the next sort by this column (1 ascending)
    int nFormat = LIST_FORMAT_LEFT;
    std::intptr_t nTag = 0; // the caller's value, not interpreted
};

// A sortable column whose first sort is descending, as both list dialogs define theirs.
inline ListColumnInfo MakeSortableColumn(const std::string& strTitle, int nWidth, int nSortType,
                                         int nFormat, std::intptr_t nTag)
{
    ListColumnInfo column;
    column.strTitle = strTitle;
    column.nWidth = nWidth;
    column.nSortType = nSortType;
    column.bSortable = 1;
    column.bAscending = 0;
    column.nFormat = nFormat;
    column.nTag = nTag;
    return column;
}

// True for the sort types 1..9, the ones that order rows.
inline bool IsKnownSortType(int nSortType)
{
    return nSortType >= SORT_ROW_NUMBER && nSortType <= SORT_DURATION;
}
