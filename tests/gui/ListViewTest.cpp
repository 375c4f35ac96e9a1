// The report view over CListCtrlEx: title clicks, arrows and veto, the selection moving with
// its rows, row colours per cell, the fixed row height and the Ctrl+A / Ctrl+C keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QTest>

#include "GuiTestSupport.h"
#include "ListViewTestSupport.h"
#include "gui/ListCtrlExView.h"
#include "platform/Codepage.h"

namespace
{

ListColumnInfo Column(const char* title, int width, int sortType, int format = LIST_FORMAT_LEFT)
{
    ListColumnInfo column;
    column.strTitle = K(title);
    column.nWidth = width;
    column.nSortType = sortType;
    column.bSortable = 1;
    column.nFormat = format;
    return column;
}

// Three columns (row number, text, size) and four rows, shown.
struct CViewRig
{
    CViewRig()
    {
        view.SetRowHeight(16);
        view.SetColumns({Column("No", 40, SORT_ROW_NUMBER, LIST_FORMAT_CENTER),
                         Column("이름", 100, SORT_TEXT), Column("Size", 100, SORT_BYTES)});
        const char* rows[][2] = {
            {"b", "1.5 MB"}, {"d", "300 Bytes"}, {"a", "2 KB"}, {"가나 50%", "1 GB"}};
        for (int i = 0; i < 4; ++i)
        {
            EXPECT_EQ(view.SetCell(i, 0, std::to_string(i + 1), 100 + i), i);
            view.SetCell(i, 1, K(rows[i][0]), 0);
            view.SetCell(i, 2, rows[i][1], 0);
        }
        view.resize(320, 200);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    QString Cell(int row, int column) const
    {
        return view.model()->data(view.model()->index(row, column)).toString();
    }
    QStringList ColumnTexts(int column) const
    {
        QStringList texts;
        for (int r = 0; r < view.model()->rowCount(); ++r)
            texts << Cell(r, column);
        return texts;
    }
    QString Title(int column) const
    {
        return view.model()->headerData(column, Qt::Horizontal).toString();
    }
    void ClickTitle(int column)
    {
        QHeaderView* header = view.horizontalHeader();
        QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                  header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QRect cell = view.visualRect(view.model()->index(row, 1));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, cell.center());
    }

    CListCtrlExView view;
};

void Veto(MessageInfo* pInfo)
{
    if (pInfo->strMsg == MSG_BEFORE_CHANGE_SORT_DIR)
        *reinterpret_cast<int*>(pInfo->nParam2) = 1;
}

void CancelCopy(MessageInfo* pInfo)
{
    if (pInfo->strMsg == MSG_BEFORE_COPY_TO_CLIPBOARD)
        *reinterpret_cast<int*>(pInfo->nParam1) = 1;
}

// Row 1, column 2 is drawn in red on yellow.
void MarkOneCell(MessageInfo* pInfo)
{
    if (pInfo->strMsg != MSG_QUERY_ITEM_APPEARANCE || pInfo->nParam1 != 1 || pInfo->nParam3 != 2)
        return;
    auto* appearance = reinterpret_cast<ItemAppearance*>(pInfo->nParam2);
    appearance->crText = 0x0000FF;
    appearance->crBack = 0x00FFFF;
}

} // namespace

TEST(ListView, TitleClicksSortThroughTheListWithArrowsVetoAndMovingSelection)
{
    CViewRig rig;
    EXPECT_EQ(rig.Title(2), U("Size"));
    EXPECT_EQ(rig.view.horizontalHeader()->sectionSize(1), 100);
    rig.ClickRow(0); // "b"
    ASSERT_EQ(rig.view.GetSelectedItems(), (std::vector<int>{0}));

    rig.ClickTitle(2); // first click: descending by size
    EXPECT_EQ(rig.ColumnTexts(2), (QStringList{"1 GB", "1.5 MB", "2 KB", "300 Bytes"}));
    EXPECT_EQ(rig.ColumnTexts(0), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(rig.Title(2), U("▼Size"));
    // The selected row moved with its data.
    EXPECT_EQ(rig.view.GetSelectedItems(), (std::vector<int>{1}));
    EXPECT_EQ(rig.view.GetList().GetSelectedItems(), (std::vector<int>{1}));
    EXPECT_EQ(rig.view.GetList().GetRowData(1), 100u);

    rig.ClickTitle(2); // second click: ascending
    EXPECT_EQ(rig.ColumnTexts(2), (QStringList{"300 Bytes", "2 KB", "1.5 MB", "1 GB"}));
    EXPECT_EQ(rig.Title(2), U("▲Size"));
    EXPECT_EQ(rig.view.GetSelectedItems(), (std::vector<int>{2}));

    rig.ClickTitle(1); // another column: its arrow, the old one's removed
    EXPECT_EQ(rig.ColumnTexts(1), (QStringList{U("가나 50%"), "d", "b", "a"}));
    EXPECT_EQ(rig.Title(1), U("▼이름"));
    EXPECT_EQ(rig.Title(2), U("Size"));
    SaveScreenshot(&rig.view, "list-view-sorted");

    // A vetoed reversal changes neither the order nor the titles.
    rig.view.GetList().Subscribe(&Veto, nullptr, nullptr);
    rig.ClickTitle(1);
    EXPECT_EQ(rig.ColumnTexts(1), (QStringList{U("가나 50%"), "d", "b", "a"}));
    EXPECT_EQ(rig.Title(1), U("▼이름"));
    EXPECT_EQ(rig.view.GetSelectedItems(), (std::vector<int>{2}));
}

TEST(ListView, RowColoursPerCellAndFixedRowHeight)
{
    CViewRig rig;
    rig.view.SetRowColors(0x333333, 0xFFFFFF, 0x333333, 0xF0E0D0);
    rig.view.GetList().Subscribe(&MarkOneCell, nullptr, nullptr);
    rig.view.viewport()->update();
    QTest::qWait(0);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(rig.view.rowHeight(r), 16) << r;
    QImage image = rig.view.viewport()->grab().toImage();
    auto colourAt = [&](int row, int column)
    {
        // Right end of the cell, clear of the text and the grid line.
        QRect cell = rig.view.visualRect(rig.view.model()->index(row, column));
        return image.pixelColor(cell.right() - 3, cell.center().y());
    };
    EXPECT_EQ(colourAt(0, 0), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(colourAt(1, 0), QColor(0xD0, 0xE0, 0xF0)); // 0x00BBGGRR
    EXPECT_EQ(colourAt(2, 1), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(colourAt(1, 2), QColor(0xFF, 0xFF, 0x00));
    EXPECT_EQ(colourAt(1, 1), QColor(0xD0, 0xE0, 0xF0));
    // Below the last row: the even rows' background.
    EXPECT_EQ(image.pixelColor(5, image.height() - 5), QColor(0xFF, 0xFF, 0xFF));
    SaveScreenshot(&rig.view, "list-view-colours");
}

TEST(ListView, CtrlASelectsAllUnlessSingleSelectionAndCtrlCCopiesTheRows)
{
    CViewRig rig;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("before");
    rig.view.setFocus();
    QTest::keyClick(&rig.view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QString()); // nothing selected: an empty text

    QTest::keyClick(&rig.view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(rig.view.GetSelectedItems(), (std::vector<int>{0, 1, 2, 3}));
    QTest::keyClick(&rig.view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(),
              U("1,b,1.5 MB\r\n2,d,300 Bytes\r\n3,a,2 KB\r\n4,가나 50%,1 GB\r\n"));

    rig.ClickRow(3);
    rig.ClickRow(1, Qt::ControlModifier);
    QTest::keyClick(&rig.view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), U("2,d,300 Bytes\r\n4,가나 50%,1 GB\r\n"));

    // A cancelled copy leaves the clipboard alone.
    rig.view.GetList().Subscribe(&CancelCopy, nullptr, nullptr);
    clipboard->setText("kept");
    QTest::keyClick(&rig.view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QString("kept"));

    rig.view.SetSingleSelection(true);
    rig.ClickRow(2);
    QTest::keyClick(&rig.view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(rig.view.GetSelectedItems(), (std::vector<int>{2}));
    EXPECT_EQ(rig.view.GetList().GetSelectedItems(), (std::vector<int>{2}));
}

TEST(ListView, RowsAddedWithRedrawOffArriveAtOnce)
{
    CViewRig rig;
    rig.view.SetRedraw(false);
    EXPECT_FALSE(rig.view.updatesEnabled());
    for (int i = 0; i < 100; ++i)
        rig.view.GetList().SetCell(rig.view.GetList().GetItemCount(), 0, "x", 0);
    rig.view.SetRedraw(true);
    EXPECT_TRUE(rig.view.updatesEnabled());
    EXPECT_EQ(rig.view.model()->rowCount(), 104);
    EXPECT_EQ(rig.view.horizontalHeader()->sectionSize(2), 100);
    // With redrawing on, each row is announced as it comes.
    EXPECT_EQ(rig.view.SetCell(0, 0, "first", 7), 0);
    EXPECT_EQ(rig.view.model()->rowCount(), 105);
    EXPECT_EQ(rig.Cell(0, 0), QString("first"));
    EXPECT_EQ(rig.view.SetCell(-1, 0, "refused", 0), -1);
    EXPECT_EQ(rig.view.model()->rowCount(), 105);
}
