#include "gui/ListCtrlExView.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

#include "gui/ListCtrlExViewDelegate.h"
#include "gui/ListCtrlExViewModel.h"
#include "gui/QtText.h"

CListCtrlExView::CListCtrlExView(QWidget* pParent) : QTableView(pParent)
{
    m_pModel = new CListCtrlExViewModel(m_list, this);
    m_pDelegate = new CListCtrlExViewDelegate(m_list, this);
    setModel(m_pModel);
    setItemDelegate(m_pDelegate);

    // A report list: whole rows selected, grid lines, no row headers, no editing.
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setSortingEnabled(false); // the list sorts itself; its titles carry the arrows
    verticalHeader()->hide();
    QHeaderView* pHeader = horizontalHeader();
    pHeader->setSectionsClickable(true);
    pHeader->setHighlightSections(false);
    pHeader->setSortIndicatorShown(false);
    pHeader->setStretchLastSection(false);
    pHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(pHeader, &QHeaderView::sectionClicked, this, &CListCtrlExView::OnHeaderItemClick);

    // The list's own selection follows the view's, for owners that ask the list.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection& deselected)
            {
                for (const QItemSelectionRange& range : deselected)
                    for (int r = range.top(); r <= range.bottom(); ++r)
                        m_list.SetItemSelected(r, false);
                for (const QItemSelectionRange& range : selected)
                    for (int r = range.top(); r <= range.bottom(); ++r)
                        m_list.SetItemSelected(r, true);
            });

    m_list.Subscribe(&CListCtrlExView::OnListMessage, this, nullptr);
    ApplyBaseColor();
}

CListCtrlExView::~CListCtrlExView()
{
    m_list.Unsubscribe(&CListCtrlExView::OnListMessage);
    // The adapter and the painter refer to the list, which goes before the base classes.
    setModel(nullptr);
    setItemDelegate(nullptr);
    delete m_pModel;
    delete m_pDelegate;
}

void CListCtrlExView::OnListMessage(MessageInfo* pInfo)
{
    auto* pView = static_cast<CListCtrlExView*>(pInfo->pOwner);
    if (pView->m_nRedrawOff > 0)
        return; // the view takes the whole list when redrawing is switched on again
    if (pInfo->strMsg == MSG_BEFORE_SORT)
        pView->m_pModel->BeginSort();
    else if (pInfo->strMsg == MSG_AFTER_SORT)
    {
        pView->m_pModel->EndSort();
        pView->m_pModel->NotifyTitlesChanged();
    }
}

void CListCtrlExView::SetRowHeight(int nHeight)
{
    m_list.SetRowHeight(nHeight);
    if (nHeight <= 0)
        return;
    QHeaderView* pRows = verticalHeader();
    pRows->setMinimumSectionSize(nHeight);
    pRows->setDefaultSectionSize(nHeight);
    pRows->setSectionResizeMode(QHeaderView::Fixed);
}

bool CListCtrlExView::SetColumns(const std::vector<ListColumnInfo>& arrColumns)
{
    SetRedraw(false);
    bool bOk = m_list.SetColumns(arrColumns);
    m_bColumnsChanged = true;
    SetRedraw(true);
    return bOk;
}

int CListCtrlExView::SetCell(int nItem, int nSubItem, const std::string& strText,
                             std::uintptr_t dwData)
{
    if (m_nRedrawOff > 0)
        return m_list.SetCell(nItem, nSubItem, strText, dwData);
    if (nSubItem == 0)
    {
        if (nItem < 0)
            return -1;
        int nAt = std::min(nItem, m_list.GetItemCount());
        m_pModel->BeginInsertRow(nAt);
        int nResult = m_list.SetCell(nAt, 0, strText, dwData);
        m_pModel->EndInsertRow();
        return nResult;
    }
    int nResult = m_list.SetCell(nItem, nSubItem, strText, dwData);
    if (nResult >= 0)
        m_pModel->NotifyCellChanged(nItem, nSubItem);
    return nResult;
}

bool CListCtrlExView::SetItemText(int nItem, int nSubItem, const std::string& strText)
{
    bool bOk = m_list.SetItemText(nItem, nSubItem, strText);
    if (bOk && m_nRedrawOff == 0)
        m_pModel->NotifyCellChanged(nItem, nSubItem);
    return bOk;
}

void CListCtrlExView::SetRowColors(ListColor crEvenText, ListColor crEvenBack, ListColor crOddText,
                                   ListColor crOddBack)
{
    m_list.SetRowColors(crEvenText, crEvenBack, crOddText, crOddBack);
    ApplyBaseColor();
    viewport()->update();
}

void CListCtrlExView::ApplyBaseColor()
{
    // Below the last row the list shows the even rows' background.
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(m_list.GetRowAppearance(0).crBack));
    setPalette(pal);
}

void CListCtrlExView::SetSingleSelection(bool bSingle)
{
    m_list.SetSingleSelection(bSingle);
    setSelectionMode(bSingle ? QAbstractItemView::SingleSelection
                             : QAbstractItemView::ExtendedSelection);
}

void CListCtrlExView::SetRedraw(bool bRedraw)
{
    if (!bRedraw)
    {
        if (m_nRedrawOff++ == 0)
        {
            setUpdatesEnabled(false);
            m_pModel->BeginReset();
            // A reset drops the view's selection without telling; the list's follows.
            m_list.ClearSelection();
        }
        return;
    }
    if (m_nRedrawOff == 0 || --m_nRedrawOff > 0)
        return;
    m_pModel->EndReset();
    if (m_bColumnsChanged)
        ApplyColumnWidths();
    m_bColumnsChanged = false;
    setUpdatesEnabled(true);
    viewport()->update();
}

void CListCtrlExView::ApplyColumnWidths()
{
    for (int i = 0; i < m_list.GetColumnCount(); ++i)
        horizontalHeader()->resizeSection(i, m_list.GetColumn(i).nWidth);
}

void CListCtrlExView::OnHeaderItemClick(int nColumn)
{
    m_list.OnHeaderItemClick(nColumn);
}

std::vector<int> CListCtrlExView::GetSelectedItems() const
{
    std::vector<int> arrItems;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r)
            arrItems.push_back(r);
    std::sort(arrItems.begin(), arrItems.end());
    arrItems.erase(std::unique(arrItems.begin(), arrItems.end()), arrItems.end());
    return arrItems;
}

bool CListCtrlExView::CopySelectionToClipboard()
{
    std::string strText;
    if (!m_list.CopyRowsToClipboard(GetSelectedItems(), strText))
        return false;
    QGuiApplication::clipboard()->setText(FromCp949(strText));
    return true;
}

void CListCtrlExView::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->modifiers() & Qt::ControlModifier)
    {
        if (pEvent->key() == Qt::Key_A && m_list.OnSelectAllKey())
        {
            selectAll();
            pEvent->accept();
            return;
        }
        if (pEvent->key() == Qt::Key_C)
        {
            // A cancelled copy goes on to the window that holds the list, not to the
            // table's own copy of the current cell.
            if (CopySelectionToClipboard())
                pEvent->accept();
            else
                pEvent->ignore();
            return;
        }
    }
    QTableView::keyPressEvent(pEvent);
}
