#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "LineSim.h"
#include "RecorderSim.h"
#include "app/LineStatusList.h"
#include "controls/ListCtrlEx.h"
#include "linecheck/LineCheck.h"
#include "linecheck/ScopedTimeZone.h"
#include "platform/Codepage.h"
#include "platform/Ping.h"

namespace
{

std::string Failure(int nPage, int nStatus)
{
    return platform::Utf8ToCp949("로그 확인 실패(페이지: " + std::to_string(nPage) + ", " +
                                 std::to_string(nStatus) + ")");
}

// The dates a recorder's blocks should produce when its whole log lies inside the window:
// each block's date, once per run of the same date.
std::string BlockDates(const CRecorderSim& recorder)
{
    std::string strDates, strLast;
    for (const RecorderSimEntry& entry : recorder.Entries())
        if (entry.m_strContent.find("Record Block") != std::string::npos &&
            entry.m_strDate != strLast)
        {
            strDates += (strDates.empty() ? "" : ", ") + entry.m_strDate;
            strLast = entry.m_strDate;
        }
    return strDates;
}

} // namespace

TEST(LineSimCheck, EveryRowOfATwentyTrainLineOnLoopback)
{
    // The local zone named in TZ: with TZ unset glibc rereads the zone in every mktime under
    // a lock of its own that ThreadSanitizer cannot see, and reports that as a race.
    CScopedTimeZone zone(":/etc/localtime");
    if (platform::GetPingSocketKind() == platform::PingSocketKind::kNone)
        GTEST_SKIP() << "this process may open no ICMP socket (neither an unprivileged "
                        "datagram socket nor a raw one), so the real ping cannot be asked";
    LineSimOptions options;
    options.m_nTrains = 20;
    CLineSim line(options);
    std::string strError;
    ASSERT_TRUE(line.Start(strError)) << strError;

    CLineCheck::Config config;
    config.nWaitSeconds = 2;
    config.fnPageWaitSeconds = [] { return 1; }; // the silent recorder costs one wait
    auto spCheck = std::make_shared<CLineCheck>(line.MakeTrainMap(), config);
    CListCtrlEx list;
    FillLineStatusList(list, *spCheck);
    {
        CLineCheckRun run(spCheck);
        run.SetResultHandler([&list](const TrainCheckResult& result)
                             { EXPECT_TRUE(ShowTrainResult(list, result)); });
        run.Start();
        // Generous: the line takes a few seconds; the bound only stops a broken build.
        for (int n = 0; n < 600 && run.GetServedCount() < options.m_nTrains; ++n)
            run.WaitAndServe(100);
        ASSERT_EQ(run.GetServedCount(), options.m_nTrains);
    }

    ASSERT_EQ(list.GetItemCount(), options.m_nTrains);
    int nSeen[5] = {};
    for (int i = 0; i < options.m_nTrains; ++i)
    {
        const LineSimTrain& train = line.Trains()[i];
        SCOPED_TRACE("train " + std::to_string(train.m_nID) + " " + LineSimKindName(train.m_kind));
        TrainCheckResult result = spCheck->GetResult(train.m_nID);
        EXPECT_EQ(result.nPing, 1);
        EXPECT_EQ(result.nPort, 1);
        EXPECT_EQ(result.nRdpPort, train.m_bRdpOpen ? 1 : -1);
        std::string strDates, strFailure;
        switch (train.m_kind)
        {
        case LineSimKind::kRecentBlocks:
            strDates = BlockDates(line.Recorder(i));
            EXPECT_NE(strDates.find(", "), std::string::npos) << "blocks on several dates";
            break;
        case LineSimKind::kSilent:
            strFailure = Failure(1, 0);
            break;
        case LineSimKind::kUnauthorized:
            strFailure = Failure(1, 401);
            break;
        case LineSimKind::kHealthy:
        case LineSimKind::kOldOnly:
            break;
        }
        ++nSeen[static_cast<int>(train.m_kind)];
        EXPECT_EQ(result.strErrorDates, strDates);
        EXPECT_EQ(result.strLogFailure, strFailure);

        // The row of the train (rows in ID order) shows the same.
        EXPECT_EQ(list.GetItemText(i, 0), std::to_string(train.m_nID));
        EXPECT_EQ(list.GetItemText(i, 1), train.m_strSetNumber);
        EXPECT_EQ(list.GetItemText(i, 2), std::to_string(train.m_nDirection));
        EXPECT_EQ(list.GetItemText(i, 3), train.m_strAddress);
        EXPECT_EQ(list.GetItemText(i, 4), "O");
        EXPECT_EQ(list.GetItemText(i, 5), "O");
        EXPECT_EQ(list.GetItemText(i, 6), train.m_bRdpOpen ? "O" : "X");
        EXPECT_EQ(list.GetItemText(i, 7),
                  strFailure.empty()
                      ? strDates
                      : (strDates.empty() ? strFailure : strDates + ", " + strFailure));
        EXPECT_EQ(list.GetItemText(i, 8), FormatCheckTimeCell(result.strCheckTime));
        EXPECT_EQ(list.GetItemText(i, 8).size(), 19u);
    }
    for (int nKind = 0; nKind < 5; ++nKind)
        EXPECT_GT(nSeen[nKind], 0) << LineSimKindName(static_cast<LineSimKind>(nKind));
}
