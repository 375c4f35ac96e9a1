// The CSV bytes of SaveToFile and the clipboard text of the selected rows.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "controls/ListCtrlEx.h"
#include "platform/Codepage.h"
#include "support/TempDir.h"

namespace
{

std::string Cp(const char* pszUtf8)
{
    return platform::Utf8ToCp949(pszUtf8);
}

// The six columns of the system log viewer.
void SetLogColumns(CListCtrlEx& list)
{
    const char* arrTitles[] = {"ID", "날짜", "시간", "종류", "내용", "비고"};
    std::vector<ListColumnInfo> arrColumns;
    for (int i = 0; i < 6; ++i)
    {
        ListColumnInfo column;
        column.strTitle = Cp(arrTitles[i]);
        column.nSortType = i == 0 ? SORT_ROW_NUMBER : SORT_TEXT;
        column.bSortable = 1;
        column.nTag = i;
        arrColumns.push_back(column);
    }
    list.SetColumns(arrColumns);
}

void AddRow(CListCtrlEx& list, const std::vector<std::string>& arrCells)
{
    int nItem = list.SetCell(list.GetItemCount(), 0, arrCells[0], list.GetItemCount());
    for (std::size_t i = 1; i < arrCells.size(); ++i)
        list.SetCell(nItem, static_cast<int>(i), arrCells[i], 0);
}

const std::string kTitleLine = "ID," + Cp("날짜,시간,종류,내용,비고") + "\r\n";

TEST(ListCtrlExExport, EmptyListIsTheTitleLine)
{
    CListCtrlEx list;
    SetLogColumns(list);
    CTempDir dir;
    ASSERT_TRUE(list.SaveToFile(dir.File("empty.csv")));
    EXPECT_EQ(ReadFileOrEmpty(dir.File("empty.csv")), kTitleLine);
}

TEST(ListCtrlExExport, SortedRowsWithoutArrowsInCp949)
{
    CListCtrlEx list;
    SetLogColumns(list);
    AddRow(list, {"10", "2024-01-02", "10:00:00", "SYSTEM", Cp("부팅"), ""});
    AddRow(list, {"11", "2024-01-03", "11:00:00", "RECORD", "Record Block", "cam 1"});
    AddRow(list, {"12", "2024-01-01", "09:30:00", "SYSTEM", "100%", "%d%s"});
    list.OnHeaderItemClick(1); // by date, descending; column 0 renumbered
    list.OnHeaderItemClick(1); // ascending

    const std::string strExpected = kTitleLine + "1,2024-01-01,09:30:00,SYSTEM,100%,%d%s\r\n" +
                                    "2,2024-01-02,10:00:00,SYSTEM," + Cp("부팅") + ",\r\n" +
                                    "3,2024-01-03,11:00:00,RECORD,Record Block,cam 1\r\n";
    CTempDir dir;
    const std::string strPath = dir.File("VORNSystemLog.csv");
    ASSERT_TRUE(WriteFileBytes(strPath, "an older, longer export that must be replaced whole"));
    ASSERT_TRUE(list.SaveToFile(strPath));
    const std::string strFile = ReadFileOrEmpty(strPath);
    EXPECT_EQ(strFile, strExpected);
    EXPECT_NE(strFile.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(list.GetCsvText(), strExpected);
}

TEST(ListCtrlExExport, CellsWithSeparatorsAreQuoted)
{
    struct Case
    {
        const char* pszCell;
        const char* pszField;
    };
    const Case arrCases[] = {
        {"plain", "plain"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"line1\nline2", "\"line1\nline2\""},
        {"cr\r", "\"cr\r\""},
        {"", ""},
        {"'single' ; tab\t", "'single' ; tab\t"},
    };
    for (const Case& c : arrCases)
    {
        SCOPED_TRACE(c.pszCell);
        CListCtrlEx list;
        ListColumnInfo first;
        first.strTitle = "A";
        ListColumnInfo second;
        second.strTitle = "B,C"; // titles follow the same rule
        list.SetColumns({first, second});
        AddRow(list, {"x", c.pszCell});
        const std::string strLine = std::string("x,") + c.pszField + "\r\n";
        EXPECT_EQ(list.GetCsvText(), "A,\"B,C\"\r\n" + strLine);

        list.SetItemSelected(0, true);
        std::string strClip;
        ASSERT_TRUE(list.CopySelectionToClipboard(strClip));
        EXPECT_EQ(strClip, strLine);
    }
}

TEST(ListCtrlExExport, FailedSaveReportsFalseAndKeepsTheFolder)
{
    CListCtrlEx list;
    SetLogColumns(list);
    CTempDir dir;
    EXPECT_FALSE(list.SaveToFile(dir.File("missing-folder/log.csv")));
    EXPECT_FALSE(list.SaveToFile(dir.Path())); // a folder is not replaced by a file
    EXPECT_TRUE(ReadFileOrEmpty(dir.File("missing-folder/log.csv")).empty());
}

TEST(ListCtrlExExport, ClipboardTextOfSelectedRowsInDisplayOrder)
{
    CListCtrlEx list;
    SetLogColumns(list);
    std::string strClip = "stale";
    ASSERT_TRUE(list.CopySelectionToClipboard(strClip));
    EXPECT_EQ(strClip, ""); // nothing selected: an empty text, still copied

    AddRow(list, {"1", "b", "", "", "", ""});
    AddRow(list, {"2", "c", "", "", "", ""});
    AddRow(list, {"3", "a", "", "", "", ""});
    ASSERT_TRUE(list.CopySelectionToClipboard(strClip));
    EXPECT_EQ(strClip, "");

    list.SetItemSelected(0, true);
    list.SetItemSelected(2, true);
    list.OnHeaderItemClick(1); // c, b, a: the selected rows are now 1 and 2
    ASSERT_TRUE(list.CopySelectionToClipboard(strClip));
    EXPECT_EQ(strClip, "2,b,,,,\r\n3,a,,,,\r\n");

    // Rows a view keeps selected itself: any order, duplicates and strays ignored.
    ASSERT_TRUE(list.CopyRowsToClipboard({2, 0, 2, 9, -1}, strClip));
    EXPECT_EQ(strClip, "1,c,,,,\r\n3,a,,,,\r\n");
}

TEST(ListCtrlExExport, ClipboardLeavesOutRowsThatDoNotFitWhole)
{
    // With fewer than 16 rows the text has 4096 bytes, one of them for the terminating NUL.
    struct Case
    {
        std::size_t nLastLineLength;
        bool bLastFits;
    };
    const Case arrCases[] = {{95, true}, {96, false}, {2000, false}};
    for (const Case& c : arrCases)
    {
        SCOPED_TRACE(c.nLastLineLength);
        CListCtrlEx list;
        ListColumnInfo column;
        column.strTitle = "T";
        list.SetColumns({column});
        // Two lines of 2000 bytes with their CR LF, then the line under test, then a short one.
        AddRow(list, {std::string(1998, 'a')});
        AddRow(list, {std::string(1998, 'b')});
        AddRow(list, {std::string(c.nLastLineLength - 2, 'c')});
        AddRow(list, {"d"});
        ASSERT_TRUE(list.OnSelectAllKey());
        std::string strClip;
        ASSERT_TRUE(list.CopySelectionToClipboard(strClip));
        std::string strExpected = std::string(1998, 'a') + "\r\n" + std::string(1998, 'b') + "\r\n";
        if (c.bLastFits)
            strExpected += std::string(c.nLastLineLength - 2, 'c') + "\r\n";
        // The row after one that did not fit is left out too, even when it is short.
        EXPECT_EQ(strClip, strExpected);
    }

    // The text grows by 4096 bytes per 16 rows of the whole list, selected or not.
    const std::pair<int, std::size_t> arrSizes[] = {{15, 4}, {16, 8}, {31, 8}, {32, 12}};
    for (const auto& size : arrSizes)
    {
        SCOPED_TRACE(size.first);
        CListCtrlEx list;
        ListColumnInfo column;
        column.strTitle = "T";
        list.SetColumns({column});
        for (int i = 0; i < size.first; ++i)
            AddRow(list, {std::string(1000, 'x')});
        ASSERT_TRUE(list.OnSelectAllKey());
        std::string strClip;
        ASSERT_TRUE(list.CopySelectionToClipboard(strClip));
        EXPECT_EQ(strClip.size(), size.second * 1002u); // whole lines of 1000 bytes + CR LF
    }
}

TEST(ListCtrlExExport, CopyCanBeCancelled)
{
    CListCtrlEx list;
    SetLogColumns(list);
    AddRow(list, {"1", "a", "", "", "", ""});
    list.OnSelectAllKey();
    struct CCancel
    {
        static void Handle(MessageInfo* pInfo)
        {
            if (pInfo->strMsg == MSG_BEFORE_COPY_TO_CLIPBOARD)
                *reinterpret_cast<int*>(pInfo->nParam1) = 1;
        }
    };
    list.Subscribe(&CCancel::Handle, nullptr, nullptr);
    std::string strClip = "untouched";
    EXPECT_FALSE(list.CopySelectionToClipboard(strClip));
    EXPECT_EQ(strClip, "untouched");
    list.Unsubscribe(&CCancel::Handle);
    EXPECT_TRUE(list.CopySelectionToClipboard(strClip));
    EXPECT_EQ(strClip, "1,a,,,,\r\n");
}

} // namespace
