// Reading and clicking a list view the way a user sees it, for the GUI tests.
#pragma once

#include <QHeaderView>
#include <QStringList>
#include <QTest>
#include <string>

#include "gui/ListCtrlExView.h"
#include "platform/Codepage.h"

// A UTF-8 literal as the widgets show it, and as the core holds it (code page 949).
inline QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}
inline std::string K(const char* utf8)
{
    return platform::Utf8ToCp949(utf8);
}

inline QString Cell(CListCtrlExView* list, int row, int column)
{
    return list->model()->data(list->model()->index(row, column)).toString();
}

inline QStringList ColumnTexts(CListCtrlExView* list, int column)
{
    QStringList texts;
    for (int r = 0; r < list->model()->rowCount(); ++r)
        texts << Cell(list, r, column);
    return texts;
}

inline QString Title(CListCtrlExView* list, int column)
{
    return list->model()->headerData(column, Qt::Horizontal).toString();
}

// A mouse click in the middle of the column's title.
inline void ClickTitle(CListCtrlExView* list, int column)
{
    QHeaderView* header = list->horizontalHeader();
    QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
              header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}
