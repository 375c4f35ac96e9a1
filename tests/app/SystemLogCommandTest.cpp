// The system log command against the scripted loopback server, and the viewer's list as the
// CSV export writes it.
#include <gtest/gtest.h>

#include <map>

#include "app/LogViewer.h"
#include "app/MainCommands.h"
#include "controls/ListCtrlEx.h"
#include "platform/Codepage.h"
#include "support/CommandRig.h"
#include "support/LogPageServer.h"
#include "support/LoopbackListener.h"
#include "support/RecordingUserInterface.h"
#include "support/TempDir.h"
#include "support/TestHttpServer.h"

namespace
{

std::string K(const char* utf8)
{
    return platform::Utf8ToCp949(utf8);
}

using CLogServer = CLogPageServer;

LogItemFields Entry(int index, const std::string& content = "event")
{
    return LogItemFields{std::to_string(index),
                         "2024-03-0" + std::to_string(index % 9 + 1),
                         "10:00:" + std::to_string(10 + index),
                         K("시스템"),
                         content,
                         K("비고")};
}

// Indexes from nFirst down to nLast, newest first as the recorders list them.
std::vector<LogItemFields> Entries(int nFirst, int nLast)
{
    std::vector<LogItemFields> items;
    for (int i = nFirst; i >= nLast; --i)
        items.push_back(Entry(i));
    return items;
}

std::vector<int> Indexes(const LogRecordMap& records)
{
    std::vector<int> result;
    for (const auto& entry : records)
        result.push_back(entry.first);
    return result;
}

} // namespace

TEST(SystemLog, TwoPagesNewestFirstGiveAllRecordsAscendingAndStoreAfterTheViewer)
{
    CLogServer log;
    log.Page(1, "2", Entries(10, 1));
    log.Page(2, "", Entries(20, 11));
    CCommandRig rig(log.server.Port());
    bool bStoredWhileOpen = true;
    rig.ui.m_fnOnLogViewer = [&]() { bStoredWhileOpen = rig.Stored(); };
    EXPECT_TRUE(rig.commands.OnBnClickedSystemLog());
    EXPECT_EQ(log.RequestedPages().size(), 2u);
    EXPECT_TRUE(rig.ui.m_messages.empty());
    ASSERT_EQ(rig.ui.m_logViewers.size(), 1u);
    const auto& viewer = rig.ui.m_logViewers[0];
    EXPECT_EQ(viewer.strTitle, K("시스템 로그 - 127.0.0.1"));
    std::vector<int> expected;
    for (int i = 1; i <= 20; ++i)
        expected.push_back(i);
    EXPECT_EQ(Indexes(viewer.records), expected);
    const LogRecord& r7 = viewer.records.at(7);
    EXPECT_EQ(r7.m_nIndex, 7);
    EXPECT_EQ(r7.m_strDate, "2024-03-08");
    EXPECT_EQ(r7.m_strTime, "10:00:17");
    EXPECT_EQ(r7.m_strCategory, K("시스템"));
    EXPECT_EQ(r7.m_strContent, "event");
    EXPECT_EQ(r7.m_strComment, K("비고"));
    EXPECT_FALSE(bStoredWhileOpen);
    EXPECT_TRUE(rig.Stored());
}

TEST(SystemLog, TheFirstRecordOfAnIndexWins)
{
    CLogServer log;
    LogItemFields noIndex = Entry(0, "first without index");
    noIndex.strIndex = "";
    LogItemFields noIndexLater = Entry(0, "second without index");
    noIndexLater.strIndex = "";
    LogItemFields notANumber = Entry(0, "index not a number");
    notANumber.strIndex = "abc";
    std::string page1 = MakeLogPageXml(
        "2", {Entry(5, "first 5"), Entry(5, "second 5"), noIndex, Entry(3, "three")});
    // The first entry without an index has an empty "Index" element; the later one none.
    const std::string content = "<Content>first without index";
    page1.replace(page1.find(content), 0, "<Index></Index>");
    log.pages[1] = TestHttpAnswer::Page(200, page1);
    log.Page(2, "", {Entry(3, "three again"), noIndexLater, notANumber, Entry(-2, "negative")});
    CCommandRig rig(log.server.Port());
    EXPECT_TRUE(rig.commands.OnBnClickedSystemLog());
    ASSERT_EQ(rig.ui.m_logViewers.size(), 1u);
    const LogRecordMap& records = rig.ui.m_logViewers[0].records;
    EXPECT_EQ(Indexes(records), (std::vector<int>{-2, 0, 3, 5}));
    EXPECT_EQ(records.at(5).m_strContent, "first 5");
    EXPECT_EQ(records.at(3).m_strContent, "three");
    EXPECT_EQ(records.at(0).m_strContent, "first without index");
    EXPECT_EQ(records.at(-2).m_strContent, "negative");
}

TEST(SystemLog, AFailureIsSaidAndTheViewerStillOpensWithWhatWasRead)
{
    struct Case
    {
        const char* name;
        TestHttpAnswer page2;
        const char* text;
    } cases[] = {
        {"401 on page 2", TestHttpAnswer::Page(401, "denied"),
         "정보를 얻어오는데 실패하였습니다.(페이지: 2, 401)."},
        {"unloadable body on page 2", TestHttpAnswer::Page(200, "not xml at all"),
         "정보를 얻어오는데 실패하였습니다.(페이지: 2, 200)."},
        {"empty body on page 2", TestHttpAnswer::Page(200, ""),
         "정보를 얻어오는데 실패하였습니다.(페이지: 2, 200)."},
        {"silent page 2", TestHttpAnswer::Silent(),
         "정보를 얻어오는데 실패하였습니다.(페이지: 2, 0)."},
    };
    for (const Case& c : cases)
    {
        CLogServer log;
        log.Page(1, "3", Entries(2, 1));
        log.pages[2] = c.page2;
        log.Page(3, "", Entries(9, 9));
        CCommandRig rig(log.server.Port());
        bool bShownAfterMessage = false;
        rig.ui.m_fnOnLogViewer = [&]() { bShownAfterMessage = rig.ui.m_messages.size() == 1; };
        EXPECT_FALSE(rig.commands.OnBnClickedSystemLog()) << c.name;
        EXPECT_EQ(log.RequestedPages().size(), 2u) << c.name;
        ASSERT_EQ(rig.ui.m_messages.size(), 1u) << c.name;
        EXPECT_EQ(rig.ui.m_messages[0].strText, K(c.text)) << c.name;
        EXPECT_EQ(rig.ui.m_messages[0].strCaption, K("시스템 로그"));
        EXPECT_EQ(rig.ui.m_messages[0].icon, MessageIcon::kError);
        ASSERT_EQ(rig.ui.m_logViewers.size(), 1u) << c.name;
        EXPECT_TRUE(bShownAfterMessage) << c.name;
        EXPECT_EQ(Indexes(rig.ui.m_logViewers[0].records), (std::vector<int>{1, 2})) << c.name;
        EXPECT_TRUE(rig.Stored()) << c.name;
    }
}

TEST(SystemLog, NoConnectionOnPageOneOpensAnEmptyViewerWithTheTitle)
{
    CCommandRig rig(FindClosedLoopbackPort());
    EXPECT_FALSE(rig.commands.OnBnClickedSystemLog());
    ASSERT_EQ(rig.ui.m_messages.size(), 1u);
    EXPECT_EQ(rig.ui.m_messages[0].strText, K("연결에 실패하였습니다.(페이지: 1)"));
    EXPECT_EQ(rig.ui.m_messages[0].strCaption, K("시스템 로그"));
    EXPECT_EQ(rig.ui.m_messages[0].icon, MessageIcon::kError);
    ASSERT_EQ(rig.ui.m_logViewers.size(), 1u);
    EXPECT_EQ(rig.ui.m_logViewers[0].strTitle, K("시스템 로그 - 127.0.0.1"));
    EXPECT_TRUE(rig.ui.m_logViewers[0].records.empty());
    EXPECT_TRUE(rig.Stored());
}

TEST(LogViewerList, ColumnsAsTheViewerShowsThem)
{
    struct Expected
    {
        const char* title;
        int width;
        int sortType;
        int format;
    } expected[] = {
        {"ID", 50, SORT_ROW_NUMBER, LIST_FORMAT_CENTER},
        {"날짜", 80, SORT_TEXT, LIST_FORMAT_CENTER},
        {"시간", 80, SORT_TEXT, LIST_FORMAT_CENTER},
        {"종류", 80, SORT_TEXT, LIST_FORMAT_CENTER},
        {"내용", 200, SORT_TEXT, LIST_FORMAT_LEFT},
        {"비고", 250, SORT_TEXT, LIST_FORMAT_LEFT},
    };
    std::vector<ListColumnInfo> columns = MakeLogViewerColumns();
    ASSERT_EQ(columns.size(), 6u);
    for (std::size_t i = 0; i < columns.size(); ++i)
    {
        EXPECT_EQ(columns[i].strTitle, K(expected[i].title)) << i;
        EXPECT_EQ(columns[i].nWidth, expected[i].width) << i;
        EXPECT_EQ(columns[i].nHeaderImage, 0);
        EXPECT_EQ(columns[i].nSortType, expected[i].sortType) << i;
        EXPECT_EQ(columns[i].bSortable, 1);
        EXPECT_EQ(columns[i].bAscending, 0);
        EXPECT_EQ(columns[i].nFormat, expected[i].format) << i;
        EXPECT_EQ(columns[i].nTag, static_cast<std::intptr_t>(i));
    }
}

TEST(LogViewerList, CsvAsOpenedAndAfterSortingByDate)
{
    LogRecordMap records;
    auto add = [&](int index, const char* date, const char* content)
    {
        LogRecord r;
        r.m_nIndex = index;
        r.m_strDate = date;
        r.m_strTime = "12:00:00";
        r.m_strCategory = K("녹화");
        r.m_strContent = content;
        AddLogRecord(records, r);
    };
    add(30, "2024-01-02", "b");
    add(7, "2024-01-03", "a");
    add(12, "2024-01-01", "c, with comma");
    CListCtrlEx list;
    FillLogList(list, records);
    EXPECT_EQ(list.GetRowHeight(), 16);
    EXPECT_EQ(list.GetRowData(0), 7u);
    const std::string header = K("ID,날짜,시간,종류,내용,비고\r\n");
    const std::string kind = K("녹화");
    EXPECT_EQ(list.GetCsvText(), header + "7,2024-01-03,12:00:00," + kind + ",a,\r\n" +
                                     "12,2024-01-01,12:00:00," + kind + ",\"c, with comma\",\r\n" +
                                     "30,2024-01-02,12:00:00," + kind + ",b,\r\n");

    // First click descending, second ascending; the ID column then holds 1, 2, 3.
    list.OnHeaderItemClick(1);
    list.OnHeaderItemClick(1);
    CTempDir dir;
    ASSERT_TRUE(list.SaveToFile(dir.File("log.csv")));
    EXPECT_EQ(ReadFileOrEmpty(dir.File("log.csv")),
              header + "1,2024-01-01,12:00:00," + kind + ",\"c, with comma\",\r\n" +
                  "2,2024-01-02,12:00:00," + kind + ",b,\r\n" + "3,2024-01-03,12:00:00," + kind +
                  ",a,\r\n");

    CListCtrlEx empty;
    FillLogList(empty, {});
    EXPECT_EQ(empty.GetCsvText(), header);
}
