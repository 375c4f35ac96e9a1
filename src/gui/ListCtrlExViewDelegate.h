// Paints each cell of a CListCtrlEx view in the colours the list gives for it: the even or
// odd row colours, after MSG_QUERY_ITEM_APPEARANCE has let a subscriber change them.
#pragma once

#include <QStyledItemDelegate>

class CListCtrlEx;

class CListCtrlExViewDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    CListCtrlExViewDelegate(CListCtrlEx& list, QObject* pParent);
    void paint(QPainter* pPainter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    CListCtrlEx& m_list;
};
