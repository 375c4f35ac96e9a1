// The whole-line status check without a window: the trains, one result per train, the
// per-train check the pool's workers run, and the road of each result to the owner.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "data/DataTrains.h"
#include "linecheck/ResultChannel.h"
#include "linecheck/SimpleThreadPool.h"

// One train's outcome: 0 no result yet, 1 passed, -1 failed.
struct TrainCheckResult
{
    int nID = 0;
    int nPing = 0;
    int nPort = 0;
    int nRdpPort = 0;
    std::string strErrorDates; // dates of recent recording errors, joined by ", "
    std::string strLogFailure; // set when the log scan stopped on a failed page
    std::string strCheckTime;  // FormatDateTime of the check; empty while none
};

// The recording-error column: the dates, then the failure mark when the log was not read
// to its end ("로그 확인 실패(페이지: 1, 401)"), so a failed scan never reads as "no errors".
std::string MakeErrorColumnText(const TrainCheckResult& result);
// "O" for a positive outcome, "X" for a negative one, empty for no result.
std::string OutcomeText(int nOutcome);

class CLineCheck
{
public:
    struct Config
    {
        int nWaitSeconds = 2; // port-probe wait
        int nErrorDays = 7;   // the recording-error window
        std::string strUser;  // credentials of the log requests (none by default)
        std::string strPassword;
        // The wait for each log page, asked anew for every page (the settings' value).
        std::function<int()> fnPageWaitSeconds = [] { return 5; };
        // How the router is asked; PingHost by default (tests may replace it).
        std::function<bool(const std::string&)> fnPing;
    };

    CLineCheck(const TrainMap& trains, const Config& config);

    // Train IDs in ascending order.
    std::vector<int> GetTrainIDs() const;
    CDataTrain GetTrain(int nID) const;
    // A copy of the train's result, taken under the results lock.
    TrainCheckResult GetResult(int nID) const;

    // The check of one train on a worker thread: ping, the two ports, the log scan, the
    // time; then the result is stored and handed to the owner (waiting until it is served).
    // Ends early, without a result, once the stop flag is raised.
    void CheckTrain(int nID, const CStopFlag* pStop);
    // The dates of "Record Block" entries inside the window, newest pages first; the scan
    // ends at the first entry outside it. A failed page is described in *pFailure.
    std::string ScanRecordingErrors(const CDataTrain& train, const CStopFlag* pStop,
                                    std::string* pFailure) const;

    CResultChannel& GetChannel() { return m_channel; }

private:
    Config m_config;
    TrainMap m_trains;
    mutable std::mutex m_csResults; // guards m_mapResults
    std::map<int, TrainCheckResult> m_mapResults;
    CResultChannel m_channel;
};

// Runs a line check on eight named workers: one job per train in ID order. The owner
// serves the results from its own thread: SetResultHandler, then Start; Stop (or the
// destructor) drops what has not started and waits for the rest while serving them.
class CLineCheckRun
{
public:
    using ResultHandler = std::function<void(const TrainCheckResult&)>;
    static constexpr int kWorkers = 8;

    explicit CLineCheckRun(std::shared_ptr<CLineCheck> spCheck);
    ~CLineCheckRun();
    CLineCheckRun(const CLineCheckRun&) = delete;
    CLineCheckRun& operator=(const CLineCheckRun&) = delete;

    // Called on the owner's thread for every result served.
    void SetResultHandler(ResultHandler fnHandler) { m_fnHandler = std::move(fnHandler); }
    // Called on a worker's thread when a result waits to be served (the GUI posts a call).
    void SetWakeCallback(std::function<void()> fnWake);
    void Start();
    // Serves the results that are waiting; returns how many.
    int ServeResults();
    // Waits at most nWaitMs for a result and serves what is waiting; returns how many.
    int WaitAndServe(int nWaitMs);
    void Stop();
    int GetServedCount() const { return m_nServed; }
    CLineCheck& GetCheck() { return *m_spCheck; }

private:
    static void CheckTrainJob(void* pArg1, std::intptr_t nArg2);

    std::shared_ptr<CLineCheck> m_spCheck;
    CSimpleThreadPool m_pool;
    ResultHandler m_fnHandler;
    int m_nServed = 0;
    bool m_bStopped = false;
};
