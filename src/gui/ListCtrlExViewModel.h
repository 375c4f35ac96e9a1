// The Qt item model over a CListCtrlEx: counts, cell texts, titles with their arrows and
// the column alignments. The list holds the data; the view tells this adapter what changed.
#pragma once

#include <QAbstractTableModel>
#include <QColor>

#include "controls/ListCtrlEx.h"

// 0x00BBGGRR as a colour.
QColor ToQColor(ListColor color);

class CListCtrlExViewModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    CListCtrlExViewModel(CListCtrlEx& list, QObject* pParent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation, int nRole) const override;

    // Wrappers of the protected notifications, for the view that changes the list.
    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }
    void BeginInsertRow(int nItem) { beginInsertRows(QModelIndex(), nItem, nItem); }
    void EndInsertRow() { endInsertRows(); }
    void NotifyCellChanged(int nItem, int nSubItem);
    void NotifyTitlesChanged();
    void BeginSort();
    // Moves the persistent indexes (selection, current row) by the list's last sort order.
    void EndSort();

private:
    CListCtrlEx& m_list;
};
