#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <ctime>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "linecheck/LineCheck.h"
#include "linecheck/ScopedTimeZone.h"
#include "platform/Codepage.h"
#include "support/LogPageBuilder.h"
#include "support/LoopbackListener.h"
#include "support/TestHttpServer.h"

namespace
{

// The local date nDaysAgo days before today, as recorders write it ("2026-03-07").
std::string LocalDate(int nDaysAgo)
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    local.tm_mday -= nDaysAgo;
    local.tm_hour = 12; // noon keeps a daylight-saving change from moving the date
    local.tm_isdst = -1;
    std::time_t then = std::mktime(&local);
    localtime_r(&then, &local);
    char text[32];
    std::snprintf(text, sizeof(text), "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    return text;
}

LogItemFields Item(const std::string& strDate, const std::string& strContent)
{
    LogItemFields item;
    item.strDate = strDate;
    item.strTime = "10:00:00";
    item.strCategory = "Record";
    item.strContent = strContent;
    return item;
}

TestHttpAnswer LogPage(const std::string& strTotal, const std::vector<LogItemFields>& items)
{
    return TestHttpAnswer::Page(200, MakeLogPageXml(strTotal, items));
}

std::string LogPath(int nPage)
{
    return "/system/log.cgi?first=1&last=1&page=" + std::to_string(nPage);
}

TrainMap OneTrain(std::uint16_t nPort, std::uint16_t nRdpPort)
{
    TrainMap trains;
    CDataTrain& train = trains[5];
    train.SetSetNumber("205");
    train.SetDirection(1);
    train.SetLTERAddress("127.0.0.1");
    train.SetPort(nPort);
    train.SetRdpPort(nRdpPort);
    return trains;
}

CLineCheck::Config ScriptedConfig(bool bPingAnswers)
{
    CLineCheck::Config config;
    config.nWaitSeconds = 2;
    config.fnPageWaitSeconds = [] { return 2; };
    config.fnPing = [bPingAnswers](const std::string&) { return bPingAnswers; };
    return config;
}

// Runs CheckTrain on a worker while this thread serves its result, as the owner does.
TrainCheckResult CheckOnWorker(CLineCheck& check, int nID)
{
    std::atomic<int> nServed{0};
    std::thread worker([&] { check.CheckTrain(nID, nullptr); });
    while (nServed.load() == 0)
    {
        check.GetChannel().WaitPending(10000);
        nServed += check.GetChannel().Serve([](std::intptr_t) {}, 0);
    }
    worker.join();
    return check.GetResult(nID);
}

std::vector<std::string> RequestedTargets(const CTestHttpServer& server)
{
    std::vector<std::string> targets;
    for (const std::string& raw : server.Requests())
    {
        std::size_t at = raw.find(' ');
        std::size_t end = raw.find(' ', at + 1);
        targets.push_back(raw.substr(at + 1, end - at - 1));
    }
    return targets;
}

std::string Failure(int nPage, int nStatus)
{
    return platform::Utf8ToCp949("로그 확인 실패(페이지: " + std::to_string(nPage) + ", " +
                                 std::to_string(nStatus) + ")");
}

} // namespace

TEST(LineCheck, TrainOutcomesOfPingAndPorts)
{
    CTestHttpServer recorder;
    ASSERT_TRUE(recorder.Start());
    recorder.SetDefaultAnswer(LogPage("1", {Item(LocalDate(0), "Login admin")}));
    CLoopbackListener rdp;
    ASSERT_TRUE(rdp.IsOpen());
    const std::uint16_t nClosed = FindClosedLoopbackPort();

    struct Case
    {
        const char* pszName;
        bool bPing;
        std::uint16_t nPort;
        std::uint16_t nRdpPort;
        int nExpectedPort;
        int nExpectedRdp;
        std::string strExpectedFailure;
    };
    const Case cases[] = {
        {"ping fails: nothing else is asked", false, recorder.Port(), rdp.Port(), 0, 0, ""},
        {"all answer", true, recorder.Port(), rdp.Port(), 1, 1, ""},
        {"recorder port closed, remote desktop open", true, nClosed, rdp.Port(), -1, 1,
         Failure(1, 0)},
        {"port 0 fails at once for both", true, 0, 0, -1, -1, Failure(1, 0)},
    };
    for (const Case& c : cases)
    {
        int nConnectionsBefore = recorder.ConnectionCount();
        CLineCheck check(OneTrain(c.nPort, c.nRdpPort), ScriptedConfig(c.bPing));
        TrainCheckResult result = CheckOnWorker(check, 5);
        EXPECT_EQ(result.nID, 5) << c.pszName;
        EXPECT_EQ(result.nPing, c.bPing ? 1 : -1) << c.pszName;
        EXPECT_EQ(result.nPort, c.nExpectedPort) << c.pszName;
        EXPECT_EQ(result.nRdpPort, c.nExpectedRdp) << c.pszName;
        EXPECT_EQ(result.strErrorDates, "") << c.pszName;
        EXPECT_EQ(result.strLogFailure, c.strExpectedFailure) << c.pszName;
        EXPECT_FALSE(result.strCheckTime.empty()) << c.pszName;
        if (!c.bPing)
        {
            EXPECT_EQ(recorder.ConnectionCount(), nConnectionsBefore) << c.pszName;
        }
    }
}

TEST(LineCheck, RecordingErrorScanOverScriptedLogPages)
{
    const std::string today = LocalDate(0);
    const std::string threeDaysAgo = LocalDate(3);
    const std::string nineDaysAgo = LocalDate(9);
    struct Case
    {
        const char* pszName;
        std::map<int, TestHttpAnswer> pages;
        std::string strExpectedDates;
        std::string strExpectedFailure;
        std::vector<int> expectedPages; // the pages asked for, in order
    };
    const Case cases[] = {
        {"today and three days ago; nine days ago ends the scan before page 2",
         {{1, LogPage("2",
                      {Item(today, "Record Block (CH1)"), Item(threeDaysAgo, "Record Block (CH2)"),
                       Item(nineDaysAgo, "Record Block (CH3)")})},
          {2, LogPage("2", {Item(today, "Record Block (CH4)")})}},
         today + ", " + threeDaysAgo,
         "",
         {1}},
        {"the same date repeated is listed once, also across pages",
         {{1, LogPage("2", {Item(today, "Record Block (CH1)"), Item(today, "Record Block (CH2)")})},
          {2,
           LogPage("2", {Item(today, "Record Block (CH3)"), Item(threeDaysAgo, "Record Block")})}},
         today + ", " + threeDaysAgo,
         "",
         {1, 2}},
        {"no TotalPage: page 1 only",
         {{1, LogPage("", {Item(today, "Record Block (CH1)")})},
          {2, LogPage("", {Item(threeDaysAgo, "Record Block (CH2)")})}},
         today,
         "",
         {1}},
        {"month 13 ends the scan like an unreadable date",
         {{1, LogPage("2", {Item(today, "Record Block"), Item("2026-13-01", "Record Block"),
                            Item(today, "Record Block")})},
          {2, LogPage("2", {Item(today, "Record Block")})}},
         today,
         "",
         {1}},
        {"a page answering 401 keeps the dates so far and marks the failure",
         {{1, LogPage("3", {Item(today, "Record Block")})},
          {2, TestHttpAnswer::Page(401, "<Error>Unauthorized</Error>")},
          {3, LogPage("3", {Item(threeDaysAgo, "Record Block")})}},
         today,
         Failure(2, 401),
         {1, 2}},
        {"an empty first page body fails on page 1",
         {{1, TestHttpAnswer::Page(200, "")}},
         "",
         Failure(1, 200),
         {1}},
        {"an unloadable page fails with its status 200",
         {{1, LogPage("2", {Item(today, "Record Block")})},
          {2, TestHttpAnswer::Page(200, "not xml at all")}},
         today,
         Failure(2, 200),
         {1, 2}},
    };
    for (const Case& c : cases)
    {
        CTestHttpServer recorder;
        ASSERT_TRUE(recorder.Start());
        recorder.SetDefaultAnswer(TestHttpAnswer::Page(404, "<Error>Not Found</Error>"));
        for (const auto& page : c.pages)
            recorder.SetAnswer(LogPath(page.first), page.second);
        CLineCheck::Config config = ScriptedConfig(true);
        std::atomic<int> nWaitAsked{0};
        config.fnPageWaitSeconds = [&nWaitAsked]
        {
            ++nWaitAsked;
            return 2;
        };
        CLineCheck check(OneTrain(recorder.Port(), 0), config);
        std::string strFailure;
        std::string strDates = check.ScanRecordingErrors(check.GetTrain(5), nullptr, &strFailure);
        EXPECT_EQ(strDates, c.strExpectedDates) << c.pszName;
        EXPECT_EQ(strFailure, c.strExpectedFailure) << c.pszName;
        std::vector<std::string> expectedTargets;
        for (int nPage : c.expectedPages)
            expectedTargets.push_back(LogPath(nPage));
        EXPECT_EQ(RequestedTargets(recorder), expectedTargets) << c.pszName;
        // The wait setting is read anew for every page asked for.
        EXPECT_EQ(nWaitAsked.load(), static_cast<int>(c.expectedPages.size())) << c.pszName;
        // No credentials are ever sent.
        for (const std::string& target : expectedTargets)
            EXPECT_EQ(target.find("id="), std::string::npos) << c.pszName;
    }
}

TEST(LineCheck, ImpossibleDateAndFailedPageStillGiveTheTrainItsRow)
{
    const std::string today = LocalDate(0);
    CTestHttpServer recorder;
    ASSERT_TRUE(recorder.Start());
    recorder.SetAnswer(LogPath(1), LogPage("3", {Item(today, "Record Block"),
                                                 Item("2026-02-30", "Record Block")}));
    CLoopbackListener rdp;
    CLineCheck check(OneTrain(recorder.Port(), rdp.Port()), ScriptedConfig(true));
    TrainCheckResult result = CheckOnWorker(check, 5);
    EXPECT_EQ(result.nPort, 1);
    EXPECT_EQ(result.nRdpPort, 1);
    EXPECT_EQ(result.strErrorDates, today);
    EXPECT_EQ(result.strLogFailure, "");
    EXPECT_EQ(MakeErrorColumnText(result), today);
    EXPECT_FALSE(result.strCheckTime.empty());

    recorder.SetAnswer(LogPath(1), LogPage("3", {Item(today, "Record Block")}));
    recorder.SetAnswer(LogPath(2), TestHttpAnswer::Page(500, "<Error>Internal</Error>"));
    result = CheckOnWorker(check, 5);
    EXPECT_EQ(result.strErrorDates, today);
    EXPECT_EQ(result.strLogFailure, Failure(2, 500));
    EXPECT_EQ(MakeErrorColumnText(result), today + ", " + Failure(2, 500));
}

TEST(LineCheck, RunServesEveryTrainOnceOnTheOwnersThreadEightAtATime)
{
    // The local zone named in TZ: with TZ unset glibc rereads the zone in every mktime under
    // a lock of its own that ThreadSanitizer cannot see, and reports that as a race.
    CScopedTimeZone zone(":/etc/localtime");
    // Pings are scripted: each of the first eight waits until all eight are under way, so
    // the test fails (after the latch bound) unless eight checks run at the same time.
    TrainMap trains;
    for (int nID = -3; nID < 17; ++nID)
    {
        CDataTrain& train = trains[nID];
        train.SetLTERAddress("127.0.0." + std::to_string(10 + nID + 3));
        train.SetPort(0);
    }
    std::mutex cs;
    std::condition_variable cv;
    int nPinging = 0;
    bool bEightTogether = false;
    CLineCheck::Config config = ScriptedConfig(false);
    std::atomic<int> nPinged{0};
    config.fnPing = [&](const std::string&)
    {
        if (nPinged++ < CLineCheckRun::kWorkers)
        {
            std::unique_lock<std::mutex> lock(cs);
            if (++nPinging == CLineCheckRun::kWorkers)
            {
                bEightTogether = true;
                cv.notify_all();
            }
            cv.wait_for(lock, std::chrono::seconds(10), [&] { return bEightTogether; });
        }
        return false;
    };
    auto spCheck = std::make_shared<CLineCheck>(trains, config);
    const std::thread::id owner = std::this_thread::get_id();
    std::vector<int> served;
    bool bAllOnOwner = true;
    {
        CLineCheckRun run(spCheck);
        run.SetResultHandler(
            [&](const TrainCheckResult& result)
            {
                bAllOnOwner = bAllOnOwner && std::this_thread::get_id() == owner;
                served.push_back(result.nID);
                EXPECT_EQ(result.nPing, -1);
                EXPECT_FALSE(result.strCheckTime.empty());
            });
        run.Start();
        for (int nRound = 0; nRound < 2000 && run.GetServedCount() < 20; ++nRound)
            run.WaitAndServe(100);
        EXPECT_EQ(run.GetServedCount(), 20);
    }
    EXPECT_TRUE(bEightTogether);
    EXPECT_TRUE(bAllOnOwner);
    std::set<int> unique(served.begin(), served.end());
    EXPECT_EQ(served.size(), 20u);
    EXPECT_EQ(unique.size(), 20u);
    EXPECT_EQ(*unique.begin(), -3);
}

TEST(LineCheck, StopDuringTheRunEndsEveryCheckWithoutTouchingAGoneOwner)
{
    // The local zone named in TZ: with TZ unset glibc rereads the zone in every mktime under
    // a lock of its own that ThreadSanitizer cannot see, and reports that as a race.
    CScopedTimeZone zone(":/etc/localtime");
    // Silent recorders keep their checks inside the log scan when the run stops.
    CTestHttpServer recorder;
    ASSERT_TRUE(recorder.Start());
    recorder.SetDefaultAnswer(TestHttpAnswer::Silent());
    TrainMap trains;
    for (int nID = 1; nID <= 12; ++nID)
    {
        CDataTrain& train = trains[nID];
        train.SetLTERAddress("127.0.0.1");
        train.SetPort(recorder.Port());
    }
    CLineCheck::Config config = ScriptedConfig(true);
    config.fnPageWaitSeconds = [] { return 1; };
    auto spCheck = std::make_shared<CLineCheck>(trains, config);
    int nServed = 0;
    {
        CLineCheckRun run(spCheck);
        run.SetResultHandler([&](const TrainCheckResult&) { ++nServed; });
        run.Start();
        // Wait until the recorder has seen requests, then stop with checks under way.
        for (int n = 0; n < 1000 && recorder.ConnectionCount() == 0; ++n)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        run.Stop();
        EXPECT_EQ(run.GetServedCount(), nServed);
    }
    // Checks that began got at most their result; those never started have none.
    EXPECT_LE(nServed, 12);
    int nWithTime = 0;
    for (int nID = 1; nID <= 12; ++nID)
        nWithTime += spCheck->GetResult(nID).strCheckTime.empty() ? 0 : 1;
    EXPECT_EQ(nWithTime, nServed);
}
