#include "gui/ListCtrlExViewDelegate.h"

#include <QApplication>
#include <QPainter>

#include "controls/ListCtrlEx.h"
#include "gui/ListCtrlExViewModel.h"

CListCtrlExViewDelegate::CListCtrlExViewDelegate(CListCtrlEx& list, QObject* pParent)
    : QStyledItemDelegate(pParent), m_list(list)
{
}

void CListCtrlExViewDelegate::paint(QPainter* pPainter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    // Asked once per cell drawn, as the list view's custom draw asks per sub-item.
    ItemAppearance appearance = m_list.QueryItemAppearance(index.row(), index.column());
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    pPainter->fillRect(opt.rect, ToQColor(appearance.crBack));
    opt.palette.setColor(QPalette::Text, ToQColor(appearance.crText));
    // Whole rows are selected: a focus frame around one cell would stand out as a fault.
    opt.state &= ~QStyle::State_HasFocus;
    // A selected row keeps the selection colours on top, as in the list view.
    const QWidget* pWidget = opt.widget;
    QStyle* pStyle = pWidget != nullptr ? pWidget->style() : QApplication::style();
    pStyle->drawControl(QStyle::CE_ItemViewItem, &opt, pPainter, pWidget);
}
