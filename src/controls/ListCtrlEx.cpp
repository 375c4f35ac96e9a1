#include "controls/ListCtrlEx.h"

#include "controls/RowSort.h"

namespace
{

// "▲" and "▼" in code page 949.
const char kArrowUp[] = "\xA1\xE3";
const char kArrowDown[] = "\xA1\xE5";

const std::string& EmptyText()
{
    static const std::string strEmpty;
    return strEmpty;
}

} // namespace

void CListCtrlEx::SetRowColors(ListColor crEvenText, ListColor crEvenBack, ListColor crOddText,
                               ListColor crOddBack)
{
    m_crEvenText = crEvenText;
    m_crEvenBack = crEvenBack;
    m_crOddText = crOddText;
    m_crOddBack = crOddBack;
}

ItemAppearance CListCtrlEx::GetRowAppearance(int nItem) const
{
    ItemAppearance appearance;
    bool bEven = nItem % 2 == 0;
    appearance.crText = bEven ? m_crEvenText : m_crOddText;
    appearance.crBack = bEven ? m_crEvenBack : m_crOddBack;
    return appearance;
}

ItemAppearance CListCtrlEx::QueryItemAppearance(int nItem, int nSubItem)
{
    ItemAppearance appearance = GetRowAppearance(nItem);
    Publish(MSG_QUERY_ITEM_APPEARANCE, nItem, reinterpret_cast<std::intptr_t>(&appearance),
            nSubItem);
    return appearance;
}

bool CListCtrlEx::SetColumns(const std::vector<ListColumnInfo>& arrColumns)
{
    m_arrColumns = arrColumns;
    m_arrShownTitles.clear();
    for (const ListColumnInfo& column : m_arrColumns)
        m_arrShownTitles.push_back(column.strTitle);
    m_nColumnCount = static_cast<int>(m_arrColumns.size());
    m_nSortColumn = -1;
    return true;
}

const std::string& CListCtrlEx::GetColumnTitle(int nColumn) const
{
    if (nColumn < 0 || nColumn >= m_nColumnCount)
        return EmptyText();
    return m_arrShownTitles[nColumn];
}

void CListCtrlEx::SetColumnTitle(int nColumn, bool bArrow, bool bAscending)
{
    if (nColumn < 0 || nColumn >= m_nColumnCount)
        return;
    std::string strTitle;
    if (bArrow)
        strTitle = bAscending ? kArrowUp : kArrowDown;
    strTitle += m_arrColumns[nColumn].strTitle;
    m_arrShownTitles[nColumn] = strTitle;
}

int CListCtrlEx::SetCell(int nItem, int nSubItem, const std::string& strText, std::uintptr_t dwData)
{
    if (nSubItem == 0)
    {
        if (nItem < 0)
            return -1;
        if (nItem > GetItemCount())
            nItem = GetItemCount();
        ListRow row;
        row.arrCells.push_back(strText);
        row.record.dwData = dwData;
        m_arrRows.insert(m_arrRows.begin() + nItem, std::move(row));
        return nItem;
    }
    return SetItemText(nItem, nSubItem, strText) ? nItem : -1;
}

bool CListCtrlEx::SetItemText(int nItem, int nSubItem, const std::string& strText)
{
    // Like the list view: a cell exists only below a column (column 0 always exists).
    if (!IsValidItem(nItem) || nSubItem < 0 || (nSubItem > 0 && nSubItem >= m_nColumnCount))
        return false;
    std::vector<std::string>& arrCells = m_arrRows[nItem].arrCells;
    if (arrCells.size() <= static_cast<std::size_t>(nSubItem))
        arrCells.resize(nSubItem + 1);
    arrCells[nSubItem] = strText;
    return true;
}

const std::string& CListCtrlEx::GetItemText(int nItem, int nSubItem) const
{
    if (!IsValidItem(nItem) || nSubItem < 0)
        return EmptyText();
    const std::vector<std::string>& arrCells = m_arrRows[nItem].arrCells;
    if (static_cast<std::size_t>(nSubItem) >= arrCells.size())
        return EmptyText();
    return arrCells[nSubItem];
}

std::uintptr_t CListCtrlEx::GetRowData(int nItem) const
{
    return IsValidItem(nItem) ? m_arrRows[nItem].record.dwData : 0;
}

int CListCtrlEx::FindRowByData(std::uintptr_t dwData) const
{
    for (int i = 0; i < GetItemCount(); ++i)
    {
        if (m_arrRows[i].record.dwData == dwData)
            return i;
    }
    return -1;
}

bool CListCtrlEx::SetItemSelected(int nItem, bool bSelected)
{
    if (!IsValidItem(nItem))
        return false;
    if (bSelected && m_bSingleSelection)
        ClearSelection();
    m_arrRows[nItem].bSelected = bSelected;
    return true;
}

bool CListCtrlEx::IsItemSelected(int nItem) const
{
    return IsValidItem(nItem) && m_arrRows[nItem].bSelected;
}

void CListCtrlEx::ClearSelection()
{
    for (ListRow& row : m_arrRows)
        row.bSelected = false;
}

std::vector<int> CListCtrlEx::GetSelectedItems() const
{
    std::vector<int> arrItems;
    for (int i = 0; i < GetItemCount(); ++i)
    {
        if (m_arrRows[i].bSelected)
            arrItems.push_back(i);
    }
    return arrItems;
}

bool CListCtrlEx::OnSelectAllKey()
{
    if (m_bSingleSelection)
        return false;
    for (ListRow& row : m_arrRows)
        row.bSelected = true;
    return true;
}

void CListCtrlEx::OnHeaderItemClick(int nColumn)
{
    if (m_arrColumns.empty() || nColumn < 0 || nColumn >= m_nColumnCount ||
        !m_arrColumns[nColumn].bSortable)
        return;

    const int nPreviousSortColumn = m_nSortColumn;
    const bool bRepeated = nColumn == m_nSortColumn;
    if (bRepeated)
    {
        int nVeto = 0;
        Publish(MSG_BEFORE_CHANGE_SORT_DIR, m_arrColumns[nColumn].bAscending,
                reinterpret_cast<std::intptr_t>(&nVeto));
        if (nVeto != 0)
        {
            // A vetoed reversal leaves the column descending; order and titles stay.
            m_arrColumns[nColumn].bAscending = 0;
            return;
        }
    }
    else
    {
        m_nSortColumn = nColumn;
    }

    Publish(MSG_BEFORE_SORT, 0, 0);
    {
        std::lock_guard<std::mutex> lock(m_csSort);
        ListColumnInfo& column = m_arrColumns[nColumn];
        if (bRepeated)
            column.bAscending = column.bAscending ? 0 : 1;
        SortByColumn();
        if (nPreviousSortColumn >= 0)
            SetColumnTitle(nPreviousSortColumn, false, false);
        SetColumnTitle(nColumn, true, column.bAscending != 0);
    }
    Publish(MSG_AFTER_SORT, 0, 0);
}

void CListCtrlEx::SortByColumn()
{
    if (m_nSortColumn < 0 || m_nSortColumn >= m_nColumnCount ||
        !m_arrColumns[m_nSortColumn].bSortable)
        return;

    m_arrLastOrder.clear();
    const ListColumnInfo& column = m_arrColumns[m_nSortColumn];
    if (IsKnownSortType(column.nSortType))
    {
        // One key per row, made once; the text keys point into the rows, which stay put
        // until the order is known.
        std::vector<CSortKey> arrKeys;
        arrKeys.reserve(m_arrRows.size());
        for (int i = 0; i < GetItemCount(); ++i)
            arrKeys.push_back(MakeSortKey(column.nSortType, GetItemText(i, m_nSortColumn)));
        std::vector<std::size_t> arrOrder = StableSortOrder(arrKeys, column.bAscending != 0);
        arrKeys.clear();

        std::vector<ListRow> arrSorted;
        arrSorted.reserve(m_arrRows.size());
        m_arrLastOrder.assign(arrOrder.begin(), arrOrder.end());
        for (std::size_t nOld : arrOrder)
            arrSorted.push_back(std::move(m_arrRows[nOld]));
        m_arrRows.swap(arrSorted);
    }

    if (m_nColumnCount > 0 && m_arrColumns[0].nSortType == SORT_ROW_NUMBER)
    {
        for (int i = 0; i < GetItemCount(); ++i)
            SetItemText(i, 0, std::to_string(i + 1));
    }
}
