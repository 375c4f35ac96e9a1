// The extended report list on screen: a table view over a CListCtrlEx it owns. Title
// clicks sort through the list (with its arrows and veto), cells take the list's row colours,
// rows have the list's fixed height, Ctrl+A selects all (unless single selection) and Ctrl+C
// puts the list's clipboard text on the clipboard.
#pragma once

#include <QTableView>
#include <cstdint>
#include <string>
#include <vector>

#include "controls/ListCtrlEx.h"

class CListCtrlExViewModel;
class CListCtrlExViewDelegate;

class CListCtrlExView : public QTableView
{
    Q_OBJECT
public:
    explicit CListCtrlExView(QWidget* pParent = nullptr);
    ~CListCtrlExView() override;

    // The list behind the view, for reading and for subscriptions. Rows and columns change
    // through the view's own operations so that it is told; only between SetRedraw(false)
    // and SetRedraw(true) may the list be changed directly. The view follows sorts through
    // its own subscription, so UnsubscribeAll on the list would leave it behind.
    CListCtrlEx& GetList() { return m_list; }
    const CListCtrlEx& GetList() const { return m_list; }

    void SetRowHeight(int nHeight);
    bool SetColumns(const std::vector<ListColumnInfo>& arrColumns);
    int SetCell(int nItem, int nSubItem, const std::string& strText, std::uintptr_t dwData);
    bool SetItemText(int nItem, int nSubItem, const std::string& strText);
    void SetRowColors(ListColor crEvenText, ListColor crEvenBack, ListColor crOddText,
                      ListColor crOddBack);
    void SetSingleSelection(bool bSingle);

    // Off: nothing is painted and row changes are not announced one by one; on: the view
    // takes the whole list at once and is repainted. Calls nest.
    void SetRedraw(bool bRedraw);

    // A click on the title of column nColumn (also what the header's clicks do).
    void OnHeaderItemClick(int nColumn);
    // Ctrl+C: the selected rows as the list's clipboard text; false when a subscriber
    // cancelled the copy.
    bool CopySelectionToClipboard();
    // The selected rows in display order.
    std::vector<int> GetSelectedItems() const;

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    static void OnListMessage(MessageInfo* pInfo);
    void ApplyColumnWidths();
    void ApplyBaseColor();

    CListCtrlEx m_list;
    CListCtrlExViewModel* m_pModel = nullptr;
    CListCtrlExViewDelegate* m_pDelegate = nullptr;
    int m_nRedrawOff = 0;
    bool m_bColumnsChanged = false; // the widths are applied once the view has the columns
};
