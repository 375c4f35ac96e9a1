#include "linecheck/LineCheck.h"

#include "linecheck/DateTimeText.h"
#include "linecheck/ErrorWindow.h"
#include "platform/Clock.h"
#include "platform/Codepage.h"
#include "platform/Ping.h"
#include "web/RecorderPages.h"
#include "web/TcpConnect.h"
#include "xml/XmlCfg.h"

namespace
{

// What one queued job needs; held alive by the pool until the job has returned.
struct CheckJobContext
{
    std::shared_ptr<CLineCheck> spCheck;
    std::shared_ptr<const CStopFlag> spStop;
};

std::uint16_t LowPortBits(int nPort)
{
    return static_cast<std::uint16_t>(static_cast<unsigned>(nPort) & 0xFFFFu);
}

int WaitMs(int nSeconds)
{
    long long ms = static_cast<long long>(nSeconds) * 1000;
    return ms > 2147483647LL ? 2147483647 : ms < 0 ? 0 : static_cast<int>(ms);
}

} // namespace

std::string OutcomeText(int nOutcome)
{
    return nOutcome > 0 ? "O" : nOutcome < 0 ? "X" : "";
}

std::string MakeErrorColumnText(const TrainCheckResult& result)
{
    if (result.strLogFailure.empty())
        return result.strErrorDates;
    return result.strErrorDates.empty() ? result.strLogFailure
                                        : result.strErrorDates + ", " + result.strLogFailure;
}

CLineCheck::CLineCheck(const TrainMap& trains, const Config& config)
    : m_config(config), m_trains(trains)
{
    if (!m_config.fnPing)
        m_config.fnPing = [](const std::string& strAddress)
        { return platform::PingHost(strAddress.c_str()); };
    // Every result exists before any worker runs, so a worker always finds its train.
    for (const auto& entry : m_trains)
    {
        TrainCheckResult result;
        result.nID = entry.first;
        m_mapResults[entry.first] = result;
    }
}

std::vector<int> CLineCheck::GetTrainIDs() const
{
    std::vector<int> ids;
    for (const auto& entry : m_trains)
        ids.push_back(entry.first);
    return ids;
}

CDataTrain CLineCheck::GetTrain(int nID) const
{
    auto found = m_trains.find(nID);
    return found == m_trains.end() ? CDataTrain(nID) : found->second;
}

TrainCheckResult CLineCheck::GetResult(int nID) const
{
    std::lock_guard<std::mutex> guard(m_csResults);
    auto found = m_mapResults.find(nID);
    if (found != m_mapResults.end())
        return found->second;
    TrainCheckResult none;
    none.nID = nID;
    return none;
}

std::string CLineCheck::ScanRecordingErrors(const CDataTrain& train, const CStopFlag* pStop,
                                            std::string* pFailure) const
{
    CErrorDateList dates;
    const std::int64_t now = platform::GetTimeSeconds();
    const std::int64_t today = GetLocalDayStart(now);
    RecorderEndpoint endpoint{train.GetLTERAddress(), LowPortBits(train.GetPort()),
                              m_config.strUser, m_config.strPassword};
    CRecorderLogReader reader(endpoint, m_config.fnPageWaitSeconds);
    LogReadOutcome outcome = reader.Read(
        [&](const CXmlCfg& doc, int)
        {
            int nItems = CountLogItems(doc);
            for (int n = 1; n <= nItems; ++n)
            {
                std::string strDate = GetLogItemField(doc, n, "Date");
                std::int64_t entry = 0;
                if (!LogDateToSeconds(strDate, &entry))
                    entry = 0;
                // The log runs newest first: the first entry outside the window ends it.
                if (!IsInsideErrorWindow(entry, now, today, m_config.nErrorDays))
                    return false;
                if (GetLogItemField(doc, n, "Content").find("Record Block") != std::string::npos)
                    dates.Add(strDate);
            }
            return true;
        },
        [pStop] { return pStop != nullptr && pStop->IsSet(); });
    if (pFailure != nullptr && outcome.IsFailure())
        *pFailure =
            platform::Utf8ToCp949("로그 확인 실패(페이지: " + std::to_string(outcome.m_nPage) +
                                  ", " + std::to_string(outcome.m_nStatusCode) + ")");
    return dates.GetText();
}

void CLineCheck::CheckTrain(int nID, const CStopFlag* pStop)
{
    auto stopped = [pStop] { return pStop != nullptr && pStop->IsSet(); };
    CDataTrain train;
    TrainCheckResult result;
    {
        std::lock_guard<std::mutex> guard(m_csResults);
        train = GetTrain(nID);
        result = m_mapResults[nID];
        result.nID = nID;
    }
    // Ping first; a router that does not answer is not probed further.
    result.nPing = m_config.fnPing(train.GetLTERAddress()) ? 1 : -1;
    if (result.nPing > 0)
    {
        if (stopped())
            return;
        const int nWaitMs = WaitMs(m_config.nWaitSeconds);
        result.nPort =
            ProbeTcpPort(train.GetLTERAddress().c_str(), LowPortBits(train.GetPort()), nWaitMs)
                ? 1
                : -1;
        if (stopped())
            return;
        result.nRdpPort =
            ProbeTcpPort(train.GetLTERAddress().c_str(), LowPortBits(train.GetRdpPort()), nWaitMs)
                ? 1
                : -1;
        if (stopped())
            return;
        result.strLogFailure.clear();
        result.strErrorDates = ScanRecordingErrors(train, pStop, &result.strLogFailure);
        if (stopped())
            return;
    }
    result.strCheckTime = FormatDateTime(GetPresentLocalTime());
    {
        std::lock_guard<std::mutex> guard(m_csResults);
        m_mapResults[nID] = result;
    }
    // Like a sent window message: wait until the owner's thread has shown the result.
    m_channel.Send(nID);
}

CLineCheckRun::CLineCheckRun(std::shared_ptr<CLineCheck> spCheck) : m_spCheck(std::move(spCheck))
{
    // While Stop waits for running checks it keeps serving their results.
    m_pool.SetOwnerPump([this] { ServeResults(); });
}

CLineCheckRun::~CLineCheckRun()
{
    Stop();
}

void CLineCheckRun::SetWakeCallback(std::function<void()> fnWake)
{
    m_spCheck->GetChannel().SetWakeCallback(std::move(fnWake));
}

void CLineCheckRun::CheckTrainJob(void* pArg1, std::intptr_t nArg2)
{
    auto* pContext = static_cast<CheckJobContext*>(pArg1);
    pContext->spCheck->CheckTrain(static_cast<int>(nArg2), pContext->spStop.get());
}

void CLineCheckRun::Start()
{
    m_pool.Start("CHECK_TRAIN_WORKER", kWorkers, 0);
    auto spContext = std::make_shared<CheckJobContext>();
    spContext->spCheck = m_spCheck;
    spContext->spStop = m_pool.GetStopFlag();
    // The checks begin in ID order, eight at a time.
    for (int nID : m_spCheck->GetTrainIDs())
        m_pool.AddJob(&CheckTrainJob, spContext.get(), nID, 0, std::string(), spContext);
}

int CLineCheckRun::ServeResults()
{
    return m_spCheck->GetChannel().Serve(
        [this](std::intptr_t nID)
        {
            ++m_nServed;
            if (m_fnHandler)
                m_fnHandler(m_spCheck->GetResult(static_cast<int>(nID)));
        },
        0);
}

int CLineCheckRun::WaitAndServe(int nWaitMs)
{
    m_spCheck->GetChannel().WaitPending(nWaitMs);
    return ServeResults();
}

void CLineCheckRun::Stop()
{
    if (m_bStopped)
        return;
    m_bStopped = true;
    m_pool.Stop();
    // A check still running after the pool's bound may not wait for an owner that is gone.
    m_spCheck->GetChannel().Close();
}
