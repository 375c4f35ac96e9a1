// The system information and recording-error commands against the scripted loopback
// server: exact texts and captions, the requests made, and what was stored when.
#include <gtest/gtest.h>

#include <map>

#include "app/MainCommands.h"
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

LogItemFields Item(const char* date, const char* time, const char* content)
{
    return LogItemFields{"", date, time, "", content, ""};
}

} // namespace

TEST(SystemInformation, ShowsTheBodyUnderTheAddressAndStoresAfterwards)
{
    CTestHttpServer server;
    ASSERT_TRUE(server.Start());
    server.SetAnswer("/system/information.cgi",
                     TestHttpAnswer::Page(200, "<Info>\r\n<Model>NVR</Model>\r\n</Info>"));
    CCommandRig rig(server.Port());
    rig.fields.m_user = "admin";
    rig.fields.m_password = "pw";
    EXPECT_TRUE(rig.commands.OnBnClickedSystemInformation());
    ASSERT_EQ(rig.ui.m_texts.size(), 1u);
    EXPECT_TRUE(rig.ui.m_messages.empty());
    EXPECT_EQ(rig.ui.m_texts[0].strTitle, K("시스템 정보 - 127.0.0.1"));
    // The body as the message parser rebuilds it: every line ended by a line feed.
    EXPECT_EQ(rig.ui.m_texts[0].strText, "<Info>\r\n<Model>NVR</Model>\r\n</Info>\n");
    EXPECT_TRUE(rig.Stored());
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].substr(0, server.Requests()[0].find("\r\n")),
              "GET /system/information.cgi?method=get&id=admin&password=pw HTTP/1.1");
}

TEST(SystemInformation, FailuresShowTheirTextAndStoreNothing)
{
    struct Case
    {
        const char* name;
        TestHttpAnswer answer;
        const char* text;
    } cases[] = {
        {"404", TestHttpAnswer::Page(404, "missing"), "정보를 얻어오는데 실패하였습니다.(404)."},
        {"empty body", TestHttpAnswer::Page(200, ""), "정보를 얻어오는데 실패하였습니다.(200)."},
        {"silent", TestHttpAnswer::Silent(), "정보를 얻어오는데 실패하였습니다.(0)."},
        {"closed at once", TestHttpAnswer::CloseAtOnce(), "정보를 얻어오는데 실패하였습니다.(0)."},
    };
    for (const Case& c : cases)
    {
        CTestHttpServer server;
        ASSERT_TRUE(server.Start());
        server.SetDefaultAnswer(c.answer);
        CCommandRig rig(server.Port());
        EXPECT_FALSE(rig.commands.OnBnClickedSystemInformation()) << c.name;
        ASSERT_EQ(rig.ui.m_messages.size(), 1u) << c.name;
        EXPECT_EQ(rig.ui.m_messages[0].strText, K(c.text)) << c.name;
        EXPECT_EQ(rig.ui.m_messages[0].strCaption, K("시스템 정보"));
        EXPECT_EQ(rig.ui.m_messages[0].icon, MessageIcon::kError);
        EXPECT_TRUE(rig.ui.m_texts.empty());
        EXPECT_FALSE(rig.Stored()) << c.name;
    }
    CCommandRig refused(FindClosedLoopbackPort());
    EXPECT_FALSE(refused.commands.OnBnClickedSystemInformation());
    ASSERT_EQ(refused.ui.m_messages.size(), 1u);
    EXPECT_EQ(refused.ui.m_messages[0].strText, K("연결에 실패하였습니다."));
    EXPECT_FALSE(refused.Stored());
}

namespace
{

using CLogServer = CLogPageServer;

const char* const kBlock = "Record Block ch1";

} // namespace

TEST(RecordingErrors, PagesUpToTotalPageAndTheDateHourRule)
{
    CLogServer log;
    log.Page(1, "3",
             {Item("2024-01-05", "13:10:00", kBlock), Item("2024-01-05", "13:40:00", kBlock),
              Item("2024-01-05", "14:05:00", kBlock)});
    // TotalPage of later pages is ignored; an hour that comes back is listed again.
    log.Page(2, "9",
             {Item("2024-01-06", "13:10:00", kBlock), Item("2024-01-06", "14:00:00", kBlock),
              Item("2024-01-06", "13:50:00", kBlock)});
    log.Page(3, "",
             {Item("2024-01-07", "08:00:00", "record block (lower case)"),
              Item("", "", "Record Block without date")});
    CCommandRig rig(log.server.Port());
    CMainCommands::RecordingErrorsOutcome outcome = rig.commands.OnBnClickedRecordingErrors();
    EXPECT_EQ(log.RequestedPages(), (std::vector<int>{1, 2, 3}));
    ASSERT_EQ(rig.ui.m_texts.size(), 1u);
    EXPECT_TRUE(rig.ui.m_messages.empty());
    EXPECT_EQ(rig.ui.m_texts[0].strTitle, K("녹화 에러 확인 - 127.0.0.1"));
    EXPECT_EQ(rig.ui.m_texts[0].strText, "2024-01-05 13\r\n2024-01-05 14\r\n2024-01-06 13\r\n"
                                         "2024-01-06 14\r\n2024-01-06 13\r\n ");
    EXPECT_TRUE(outcome.m_bLogReadCompletely);
    EXPECT_TRUE(outcome.m_bErrorsFound);
    EXPECT_TRUE(rig.Stored());
}

TEST(RecordingErrors, PageCountAndNoErrorMessage)
{
    struct Case
    {
        const char* name;
        std::string page1;
        std::vector<int> requested;
    } cases[] = {
        {"no TotalPage", MakeLogPageXml("", {Item("2024-01-05", "1:00", "ok")}), {1}},
        {"non-numeric TotalPage", MakeLogPageXml("many", {}), {1}},
        // A well-formed page that is not a log: page count 0, the scan ends.
        {"not a log page", "<Other><TotalPage>5</TotalPage></Other>", {1}},
    };
    for (const Case& c : cases)
    {
        CLogServer log;
        log.pages[1] = TestHttpAnswer::Page(200, c.page1);
        log.Page(2, "", {Item("2024-01-05", "1:00", kBlock)});
        CCommandRig rig(log.server.Port());
        CMainCommands::RecordingErrorsOutcome outcome = rig.commands.OnBnClickedRecordingErrors();
        EXPECT_EQ(log.RequestedPages(), c.requested) << c.name;
        ASSERT_EQ(rig.ui.m_messages.size(), 1u) << c.name;
        EXPECT_EQ(rig.ui.m_messages[0].strText, K("에러를 발견하지 못했습니다.")) << c.name;
        EXPECT_EQ(rig.ui.m_messages[0].icon, MessageIcon::kInformation);
        EXPECT_TRUE(outcome.m_bLogReadCompletely) << c.name;
        EXPECT_TRUE(rig.Stored());
    }
}

TEST(RecordingErrors, AFailedPageIsNeverReportedAsNoError)
{
    struct Case
    {
        const char* name;
        bool errorOnPage1;
        TestHttpAnswer page2;
        const char* text;
    } cases[] = {
        {"401 on page 2", false, TestHttpAnswer::Page(401, "denied"),
         "정보를 얻어오는데 실패하였습니다.(페이지: 2, 401)."},
        {"unloadable body on page 2", false, TestHttpAnswer::Page(200, "not xml at all"),
         "정보를 얻어오는데 실패하였습니다.(페이지: 2, 200)."},
        {"silent page 2", false, TestHttpAnswer::Silent(),
         "정보를 얻어오는데 실패하였습니다.(페이지: 2, 0)."},
        {"404 after an error was found", true, TestHttpAnswer::Page(404, "x"),
         "정보를 얻어오는데 실패하였습니다.(페이지: 2, 404)."},
    };
    for (const Case& c : cases)
    {
        CLogServer log;
        log.Page(1, "2", {Item("2024-01-05", "10:00:00", c.errorOnPage1 ? kBlock : "fine")});
        log.pages[2] = c.page2;
        CCommandRig rig(log.server.Port());
        CMainCommands::RecordingErrorsOutcome outcome = rig.commands.OnBnClickedRecordingErrors();
        EXPECT_FALSE(outcome.m_bLogReadCompletely) << c.name;
        ASSERT_EQ(rig.ui.m_messages.size(), 1u) << c.name;
        EXPECT_EQ(rig.ui.m_messages[0].strText, K(c.text)) << c.name;
        EXPECT_EQ(rig.ui.m_messages[0].strCaption, K("녹화 에러 확인"));
        EXPECT_EQ(rig.ui.m_messages[0].icon, MessageIcon::kError);
        // What was found before the failure is still shown; otherwise no window at all.
        EXPECT_EQ(rig.ui.m_texts.size(), c.errorOnPage1 ? 1u : 0u) << c.name;
        EXPECT_TRUE(rig.Stored()) << c.name;
    }

    CCommandRig refused(FindClosedLoopbackPort());
    refused.commands.OnBnClickedRecordingErrors();
    ASSERT_EQ(refused.ui.m_messages.size(), 1u);
    EXPECT_EQ(refused.ui.m_messages[0].strText, K("연결에 실패하였습니다.(페이지: 1)"));
    EXPECT_TRUE(refused.Stored());
}
