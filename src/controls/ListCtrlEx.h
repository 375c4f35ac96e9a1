// The extended report list without its widget: columns with their sort types, rows with one
// caller's value each, title-click sorting with arrows, row numbers, selection, the CSV
// export, the clipboard text and the per-cell colours. A toolkit view shows this model: it
// asks for the counts, texts, titles and colours and passes title clicks and keys in.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "controls/ListColumnInfo.h"
#include "controls/MessagePublisher.h"

// 0x00BBGGRR, the layout of a Windows COLORREF.
using ListColor = std::uint32_t;

struct ItemAppearance
{
    ListColor crText = 0;
    ListColor crBack = 0;
};

// Notifications the list publishes; the parameters are described at each publication.
constexpr char MSG_QUERY_ITEM_APPEARANCE[] = "MSG_QUERY_ITEM_APPEARANCE";
constexpr char MSG_BEFORE_CHANGE_SORT_DIR[] = "MSG_BEFORE_CHANGE_SORT_DIR";
constexpr char MSG_BEFORE_SORT[] = "MSG_BEFORE_SORT";
constexpr char MSG_AFTER_SORT[] = "MSG_AFTER_SORT";
constexpr char MSG_BEFORE_COPY_TO_CLIPBOARD[] = "MSG_BEFORE_COPY_TO_CLIPBOARD";

// The caller's value of one row, given when the row is inserted.
struct RowRecord
{
    std::uintptr_t dwData = 0;
};

class CListCtrlEx : public IMessagePublisher
{
public:
    CListCtrlEx() = default;
    ~CListCtrlEx() override = default;

    // Every row is nHeight pixels tall; 0 (the start) leaves it to the toolkit.
    void SetRowHeight(int nHeight) { m_nRowHeight = nHeight; }
    int GetRowHeight() const { return m_nRowHeight; }

    // Text and background of even rows (0, 2, ...) and odd rows; all start 0x333333 on white.
    void SetRowColors(ListColor crEvenText, ListColor crEvenBack, ListColor crOddText,
                      ListColor crOddBack);
    // The row's colours before any subscriber is asked.
    ItemAppearance GetRowAppearance(int nItem) const;
    // The colours of one cell: the row's colours, then MSG_QUERY_ITEM_APPEARANCE (row,
    // pointer to the ItemAppearance, column) lets a subscriber change them.
    ItemAppearance QueryItemAppearance(int nItem, int nSubItem);

    // Replaces the columns and forgets the sort column; the rows stay as they are.
    bool SetColumns(const std::vector<ListColumnInfo>& arrColumns);
    int GetColumnCount() const { return m_nColumnCount; }
    // The stored description (bAscending as the user left it); nColumn must exist.
    const ListColumnInfo& GetColumn(int nColumn) const { return m_arrColumns[nColumn]; }
    // The title as shown: the stored title, after "▲" or "▼" on the sort column.
    const std::string& GetColumnTitle(int nColumn) const;
    int GetSortColumn() const { return m_nSortColumn; }

    // nSubItem 0: inserts a row at nItem (at the end when nItem is past it) with the text in
    // column 0 and dwData as its row data; returns the new row's index, -1 for nItem < 0.
    // nSubItem > 0: sets that cell of row nItem (dwData ignored); returns nItem, or -1 when
    // the row or the column does not exist.
    int SetCell(int nItem, int nSubItem, const std::string& strText, std::uintptr_t dwData);
    // Sets the text of an existing cell; false when the row or the column does not exist.
    bool SetItemText(int nItem, int nSubItem, const std::string& strText);
    // The cell's text; empty for a cell that was never set or does not exist.
    const std::string& GetItemText(int nItem, int nSubItem) const;
    int GetItemCount() const { return static_cast<int>(m_arrRows.size()); }
    // The row's data; 0 for a row that does not exist.
    std::uintptr_t GetRowData(int nItem) const;
    // The first row, from row 0 on, whose data equals dwData; -1 when none.
    int FindRowByData(std::uintptr_t dwData) const;

    // With single selection, selecting a row clears the others and Ctrl+A does nothing.
    void SetSingleSelection(bool bSingle) { m_bSingleSelection = bSingle; }
    bool IsSingleSelection() const { return m_bSingleSelection; }
    // false when the row does not exist.
    bool SetItemSelected(int nItem, bool bSelected);
    bool IsItemSelected(int nItem) const;
    void ClearSelection();
    // Selected rows in display order.
    std::vector<int> GetSelectedItems() const;
    // Ctrl+A: selects every row and returns true (key consumed); false with single selection.
    bool OnSelectAllKey();

    // A click on the title of column nColumn: the first click on a column sorts it in its
    // stored direction, a repeated click reverses it (unless a subscriber vetoes), and only
    // the sort column carries an arrow. Rows keep their selection and data as they move.
    void OnHeaderItemClick(int nColumn);
    // Sorts the rows by the sort column in its direction, then renumbers column 0 when its
    // type is SORT_ROW_NUMBER. Equal rows keep their order.
    void SortByColumn();
    // After a sort: for each new position, the position the row had before it; empty when the
    // last sort did not order the rows (a sort type outside 1..9). A view can move its own
    // per-row state (persistent indexes) by it on MSG_AFTER_SORT.
    const std::vector<int>& GetLastSortOrder() const { return m_arrLastOrder; }

    // The whole list as the CSV export writes it: the stored titles, then every row in
    // display order, one line each, fields joined by "," and lines ended by CR LF.
    std::string GetCsvText() const;
    // Writes GetCsvText to the file whole, replacing it atomically; false when it fails
    // (the previous file is then untouched).
    bool SaveToFile(const std::string& strPath) const;
    // Ctrl+C on the selected rows: false when a subscriber of MSG_BEFORE_COPY_TO_CLIPBOARD
    // cancelled (the key goes on); otherwise true with the text the clipboard is to hold.
    bool CopySelectionToClipboard(std::string& strText);
    // The same for rows a view keeps selected itself (any order, duplicates ignored).
    bool CopyRowsToClipboard(const std::vector<int>& arrItems, std::string& strText);

private:
    struct ListRow
    {
        std::vector<std::string> arrCells;
        RowRecord record;
        bool bSelected = false;
    };

    void SetColumnTitle(int nColumn, bool bArrow, bool bAscending);
    void AppendTitleLine(std::string& strText) const;
    // The row's cells of every column, joined by ",", with CR LF.
    std::string MakeRowLine(int nItem) const;
    bool IsValidItem(int nItem) const { return nItem >= 0 && nItem < GetItemCount(); }

    std::vector<ListColumnInfo> m_arrColumns;
    std::vector<std::string> m_arrShownTitles;
    int m_nColumnCount = 0;
    int m_nSortColumn = -1;
    ListColor m_crEvenText = 0x333333;
    ListColor m_crEvenBack = 0xFFFFFF;
    ListColor m_crOddText = 0x333333;
    ListColor m_crOddBack = 0xFFFFFF;
    std::vector<ListRow> m_arrRows;
    std::vector<int> m_arrLastOrder;
    int m_nRowHeight = 0;
    bool m_bSingleSelection = false;
    std::mutex m_csSort; // held while a title-click sort and its title update run
};
