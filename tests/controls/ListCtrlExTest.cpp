// Title clicks, arrows, the direction veto, row numbers, rows and selection of the list.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/ListCtrlEx.h"
#include "platform/Codepage.h"

namespace
{

std::string Cp(const char* pszUtf8)
{
    return platform::Utf8ToCp949(pszUtf8);
}

ListColumnInfo Column(const char* pszUtf8Title, int nSortType, int bSortable = 1)
{
    ListColumnInfo column;
    column.strTitle = Cp(pszUtf8Title);
    column.nWidth = 80;
    column.nSortType = nSortType;
    column.bSortable = bSortable;
    column.bAscending = 0; // every caller starts descending
    return column;
}

// Every publication, in order, with its first parameter; optionally vetoes/cancels.
struct CRecorder
{
    std::vector<std::string> arrMessages;
    std::vector<std::intptr_t> arrParam1;
    int nVeto = 0;

    static void Handle(MessageInfo* pInfo)
    {
        auto* pSelf = static_cast<CRecorder*>(pInfo->pOwner);
        if (pInfo->strMsg == MSG_QUERY_ITEM_APPEARANCE)
            return;
        pSelf->arrMessages.push_back(pInfo->strMsg);
        pSelf->arrParam1.push_back(pInfo->nParam1);
        if (pInfo->strMsg == MSG_BEFORE_CHANGE_SORT_DIR)
            *reinterpret_cast<int*>(pInfo->nParam2) = pSelf->nVeto;
    }
};

// A log-like list: row number, a text column, a size column with ties, an inert column.
class ListCtrlExTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_list.SetRowHeight(16);
        ASSERT_TRUE(m_list.SetColumns({Column("ID", SORT_ROW_NUMBER), Column("날짜", SORT_TEXT),
                                       Column("크기", SORT_BYTES), Column("비고", SORT_TEXT, 0),
                                       Column("기타", 42)}));
        // index, date, size: the sizes tie in pairs to show the sort is stable.
        const char* arrRows[][3] = {{"7", "2024-03-02", "1 KB"},
                                    {"3", "2024-01-15", "2 KB"},
                                    {"9", "2024-02-28", "1024 Bytes"},
                                    {"1", "2023-12-31", "2048 Bytes"},
                                    {"5", "", "512 Bytes"}};
        int nItem = 0;
        for (const auto& row : arrRows)
        {
            ASSERT_EQ(m_list.SetCell(nItem, 0, row[0], std::stoi(row[0])), nItem);
            ASSERT_EQ(m_list.SetCell(nItem, 1, row[1], 0), nItem);
            ASSERT_EQ(m_list.SetCell(nItem, 2, row[2], 0), nItem);
            ++nItem;
        }
        m_list.Subscribe("recorder", &CRecorder::Handle, &m_recorder, nullptr);
    }

    // The row data of every row, top to bottom.
    std::vector<std::uintptr_t> DataOrder() const
    {
        std::vector<std::uintptr_t> arrData;
        for (int i = 0; i < m_list.GetItemCount(); ++i)
            arrData.push_back(m_list.GetRowData(i));
        return arrData;
    }
    std::vector<std::string> Titles() const
    {
        std::vector<std::string> arrTitles;
        for (int i = 0; i < m_list.GetColumnCount(); ++i)
            arrTitles.push_back(m_list.GetColumnTitle(i));
        return arrTitles;
    }

    CListCtrlEx m_list;
    CRecorder m_recorder;
};

using Data = std::vector<std::uintptr_t>;

TEST_F(ListCtrlExTest, ClickSequenceSortsTogglesAndMovesTheArrow)
{
    const std::string strDown = Cp("▼");
    const std::string strUp = Cp("▲");
    struct Step
    {
        int nColumn;
        Data expectedData;
        std::vector<std::string> expectedTitles;
    };
    const std::vector<Step> arrSteps = {
        // First click on the date: descending, the empty date last.
        {1, {7, 9, 3, 1, 5}, {"ID", strDown + Cp("날짜"), Cp("크기"), Cp("비고"), Cp("기타")}},
        // Second click: ascending.
        {1, {5, 1, 3, 9, 7}, {"ID", strUp + Cp("날짜"), Cp("크기"), Cp("비고"), Cp("기타")}},
        // Another column: its own first direction (descending); ties keep the date order.
        {2, {1, 3, 9, 7, 5}, {"ID", Cp("날짜"), strDown + Cp("크기"), Cp("비고"), Cp("기타")}},
        // Back to the date: it remembered ascending.
        {1, {5, 1, 3, 9, 7}, {"ID", strUp + Cp("날짜"), Cp("크기"), Cp("비고"), Cp("기타")}},
        // Sort by the row numbers themselves (ascending 1..5 already): reversed to 5..1.
        {0, {7, 9, 3, 1, 5}, {strDown + "ID", Cp("날짜"), Cp("크기"), Cp("비고"), Cp("기타")}},
    };
    for (std::size_t i = 0; i < arrSteps.size(); ++i)
    {
        SCOPED_TRACE("click " + std::to_string(i + 1));
        m_list.OnHeaderItemClick(arrSteps[i].nColumn);
        EXPECT_EQ(m_list.GetSortColumn(), arrSteps[i].nColumn);
        EXPECT_EQ(DataOrder(), arrSteps[i].expectedData);
        EXPECT_EQ(Titles(), arrSteps[i].expectedTitles);
        // Column 0 holds the row numbers after every sort.
        for (int nRow = 0; nRow < m_list.GetItemCount(); ++nRow)
            EXPECT_EQ(m_list.GetItemText(nRow, 0), std::to_string(nRow + 1));
        // The stored titles never carry the arrow.
        EXPECT_EQ(m_list.GetColumn(1).strTitle, Cp("날짜"));
    }
    EXPECT_EQ(m_recorder.arrMessages.size(), 2u * arrSteps.size() + 1u); // one repeated click
}

TEST_F(ListCtrlExTest, RepeatedClickAsksFirstAndAVetoStopsEverything)
{
    m_list.OnHeaderItemClick(1);
    m_list.OnHeaderItemClick(1); // ascending now
    ASSERT_EQ(m_list.GetColumn(1).bAscending, 1);
    m_recorder.arrMessages.clear();
    m_recorder.arrParam1.clear();
    const Data before = DataOrder();
    const std::vector<std::string> titlesBefore = Titles();

    m_recorder.nVeto = 1;
    m_list.OnHeaderItemClick(1);
    EXPECT_EQ(m_recorder.arrMessages, std::vector<std::string>{MSG_BEFORE_CHANGE_SORT_DIR});
    EXPECT_EQ(m_recorder.arrParam1, std::vector<std::intptr_t>{1}); // the current direction
    EXPECT_EQ(DataOrder(), before);
    EXPECT_EQ(Titles(), titlesBefore);
    EXPECT_EQ(m_list.GetColumn(1).bAscending, 0); // a veto leaves the column descending

    // Without the veto the next click toggles from there: ascending again.
    m_recorder.nVeto = 0;
    m_recorder.arrMessages.clear();
    m_list.OnHeaderItemClick(1);
    EXPECT_EQ(m_recorder.arrMessages, (std::vector<std::string>{MSG_BEFORE_CHANGE_SORT_DIR,
                                                                MSG_BEFORE_SORT, MSG_AFTER_SORT}));
    EXPECT_EQ(m_list.GetColumn(1).bAscending, 1);
    EXPECT_EQ(m_list.GetColumnTitle(1), Cp("▲날짜"));

    // A first click on another column is not asked about.
    m_recorder.arrMessages.clear();
    m_recorder.nVeto = 1;
    m_list.OnHeaderItemClick(2);
    EXPECT_EQ(m_recorder.arrMessages, (std::vector<std::string>{MSG_BEFORE_SORT, MSG_AFTER_SORT}));
}

TEST_F(ListCtrlExTest, UnsortableAndUnknownColumns)
{
    const Data before = DataOrder();
    // Not sortable, or not a column at all: nothing happens.
    for (int nColumn : {3, -1, 5, 99})
    {
        m_list.OnHeaderItemClick(nColumn);
        EXPECT_EQ(m_list.GetSortColumn(), -1);
    }
    EXPECT_TRUE(m_recorder.arrMessages.empty());

    // An unknown sort type changes the arrow but not the order; row numbers are rewritten.
    m_list.OnHeaderItemClick(4);
    EXPECT_EQ(DataOrder(), before);
    EXPECT_TRUE(m_list.GetLastSortOrder().empty());
    EXPECT_EQ(m_list.GetColumnTitle(4), Cp("▼기타"));
    EXPECT_EQ(m_list.GetItemText(0, 0), "1");
    EXPECT_EQ(m_list.GetItemText(4, 0), "5");
}

TEST_F(ListCtrlExTest, RowsKeepTheirDataAndSelectionAsTheyMove)
{
    ASSERT_TRUE(m_list.SetItemSelected(0, true)); // data 7
    ASSERT_TRUE(m_list.SetItemSelected(3, true)); // data 1
    m_list.OnHeaderItemClick(1);                  // 7, 9, 3, 1, 5
    EXPECT_EQ(m_list.GetSelectedItems(), (std::vector<int>{0, 3}));
    EXPECT_EQ(m_list.GetLastSortOrder(), (std::vector<int>{0, 2, 1, 3, 4}));
    EXPECT_EQ(m_list.FindRowByData(9), 1);
    EXPECT_EQ(m_list.FindRowByData(5), 4);
    EXPECT_EQ(m_list.FindRowByData(42), -1);
    EXPECT_EQ(m_list.GetItemText(1, 1), "2024-02-28");
    EXPECT_EQ(m_list.GetItemText(1, 2), "1024 Bytes");
}

TEST_F(ListCtrlExTest, RowNumbersOnlyWhenColumnZeroIsOfThatType)
{
    std::vector<ListColumnInfo> arrColumns = {Column("ID", SORT_INTEGER), Column("A", SORT_TEXT)};
    ASSERT_TRUE(m_list.SetColumns(arrColumns));
    EXPECT_EQ(m_list.GetSortColumn(), -1);
    EXPECT_EQ(m_list.GetColumnTitle(1), "A"); // titles replaced, no arrow left over
    m_list.OnHeaderItemClick(1);
    EXPECT_EQ(DataOrder(), (Data{7, 9, 3, 1, 5}));
    EXPECT_EQ(m_list.GetItemText(0, 0), "7"); // the texts stayed
}

TEST(ListCtrlEx, SetCellInsertsAndRefusesMissingCells)
{
    CListCtrlEx list;
    list.SetColumns({Column("A", SORT_TEXT), Column("B", SORT_TEXT)});
    EXPECT_EQ(list.SetCell(0, 0, "second", 2), 0);
    EXPECT_EQ(list.SetCell(0, 0, "first", 1), 0);   // inserted before
    EXPECT_EQ(list.SetCell(10, 0, "third", 3), 2);  // past the end: appended
    EXPECT_EQ(list.SetCell(-1, 0, "never", 4), -1); // refused
    EXPECT_EQ(list.SetCell(1, 1, "b", 99), 1);
    EXPECT_EQ(list.SetCell(1, 2, "no column", 0), -1);
    EXPECT_EQ(list.SetCell(3, 1, "no row", 0), -1);
    ASSERT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemText(0, 0), "first");
    EXPECT_EQ(list.GetItemText(1, 0), "second");
    EXPECT_EQ(list.GetItemText(1, 1), "b");
    EXPECT_EQ(list.GetItemText(2, 1), "");
    EXPECT_EQ(list.GetItemText(7, 0), "");
    EXPECT_EQ(list.GetRowData(1), 2u); // dwData of a sub-item call is ignored
    EXPECT_EQ(list.GetRowData(2), 3u);
    EXPECT_EQ(list.GetRowData(3), 0u);
}

TEST(ListCtrlEx, SelectAllUnlessSingleSelection)
{
    CListCtrlEx list;
    list.SetColumns({Column("A", SORT_TEXT)});
    for (int i = 0; i < 4; ++i)
        list.SetCell(i, 0, std::to_string(i), i);
    EXPECT_TRUE(list.OnSelectAllKey());
    EXPECT_EQ(list.GetSelectedItems(), (std::vector<int>{0, 1, 2, 3}));

    list.ClearSelection();
    list.SetSingleSelection(true);
    EXPECT_FALSE(list.OnSelectAllKey());
    EXPECT_TRUE(list.GetSelectedItems().empty());
    list.SetItemSelected(1, true);
    list.SetItemSelected(2, true);
    EXPECT_EQ(list.GetSelectedItems(), std::vector<int>{2});
    EXPECT_FALSE(list.SetItemSelected(4, true));
}

TEST(ListCtrlEx, CellColoursComeFromTheRowAndTheSubscriber)
{
    CListCtrlEx list;
    list.SetRowColors(0x111111, 0xFFFFFF, 0x222222, 0xEEEEEE);
    struct CQuery
    {
        std::vector<std::intptr_t> arrCalls; // row * 100 + column
        static void Handle(MessageInfo* pInfo)
        {
            if (pInfo->strMsg != MSG_QUERY_ITEM_APPEARANCE)
                return;
            static_cast<CQuery*>(pInfo->pUserData)
                ->arrCalls.push_back(pInfo->nParam1 * 100 + pInfo->nParam3);
            if (pInfo->nParam1 == 3 && pInfo->nParam3 == 2)
                reinterpret_cast<ItemAppearance*>(pInfo->nParam2)->crText = 0x0000FF;
        }
    } query;

    EXPECT_EQ(list.QueryItemAppearance(0, 0).crText, 0x111111u); // defaults without subscribers
    list.Subscribe(&CQuery::Handle, nullptr, &query);
    ItemAppearance even = list.QueryItemAppearance(2, 1);
    ItemAppearance odd = list.QueryItemAppearance(3, 1);
    ItemAppearance marked = list.QueryItemAppearance(3, 2);
    EXPECT_EQ(even.crText, 0x111111u);
    EXPECT_EQ(even.crBack, 0xFFFFFFu);
    EXPECT_EQ(odd.crText, 0x222222u);
    EXPECT_EQ(odd.crBack, 0xEEEEEEu);
    EXPECT_EQ(marked.crText, 0x0000FFu);
    EXPECT_EQ(marked.crBack, 0xEEEEEEu);
    EXPECT_EQ(query.arrCalls, (std::vector<std::intptr_t>{201, 301, 302}));

    CListCtrlEx plain;
    EXPECT_EQ(plain.GetRowAppearance(1).crText, 0x333333u);
    EXPECT_EQ(plain.GetRowAppearance(1).crBack, 0xFFFFFFu);
}

} // namespace
