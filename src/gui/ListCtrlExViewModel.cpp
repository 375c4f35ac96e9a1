#include "gui/ListCtrlExViewModel.h"

#include "gui/QtText.h"

QColor ToQColor(ListColor color)
{
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

namespace
{

Qt::Alignment ToAlignment(int nFormat)
{
    switch (nFormat)
    {
    case LIST_FORMAT_RIGHT:
        return Qt::AlignRight | Qt::AlignVCenter;
    case LIST_FORMAT_CENTER:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

CListCtrlExViewModel::CListCtrlExViewModel(CListCtrlEx& list, QObject* pParent)
    : QAbstractTableModel(pParent), m_list(list)
{
}

int CListCtrlExViewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_list.GetItemCount();
}

int CListCtrlExViewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_list.GetColumnCount();
}

QVariant CListCtrlExViewModel::data(const QModelIndex& index, int nRole) const
{
    if (!index.isValid())
        return QVariant();
    switch (nRole)
    {
    case Qt::DisplayRole:
        return FromCp949(m_list.GetItemText(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ToAlignment(m_list.GetColumn(index.column()).nFormat));
    default:
        return QVariant();
    }
}

QVariant CListCtrlExViewModel::headerData(int nSection, Qt::Orientation orientation,
                                          int nRole) const
{
    if (orientation != Qt::Horizontal || nSection < 0 || nSection >= m_list.GetColumnCount())
        return QVariant();
    switch (nRole)
    {
    case Qt::DisplayRole:
        return FromCp949(m_list.GetColumnTitle(nSection));
    case Qt::TextAlignmentRole:
        // The header follows its column's alignment, as the list view's header does.
        return QVariant::fromValue(ToAlignment(m_list.GetColumn(nSection).nFormat));
    default:
        return QVariant();
    }
}

void CListCtrlExViewModel::NotifyCellChanged(int nItem, int nSubItem)
{
    QModelIndex cell = index(nItem, nSubItem);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

void CListCtrlExViewModel::NotifyTitlesChanged()
{
    if (m_list.GetColumnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, m_list.GetColumnCount() - 1);
}

void CListCtrlExViewModel::BeginSort()
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CListCtrlExViewModel::EndSort()
{
    const std::vector<int>& arrOrder = m_list.GetLastSortOrder();
    if (!arrOrder.empty())
    {
        // arrOrder[new] = old; the persistent indexes need old -> new.
        std::vector<int> arrNewRow(arrOrder.size());
        for (std::size_t nNew = 0; nNew < arrOrder.size(); ++nNew)
            arrNewRow[static_cast<std::size_t>(arrOrder[nNew])] = static_cast<int>(nNew);
        const QModelIndexList from = persistentIndexList();
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& old : from)
        {
            std::size_t nOld = static_cast<std::size_t>(old.row());
            to.append(nOld < arrNewRow.size() ? index(arrNewRow[nOld], old.column())
                                              : QModelIndex());
        }
        changePersistentIndexList(from, to);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
