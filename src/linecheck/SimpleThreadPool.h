// A fixed set of worker threads that run queued jobs first in, first out. The pool knows
// nothing of what a job does; the line check queues one job per train.
//
// Use from one owner thread: Start, AddJob for each job, Stop when done. A job that hands
// results to the owner through a CResultChannel needs the owner to serve that channel; set
// SetOwnerPump to serve it so the two never wait for each other while Stop waits.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "linecheck/StopFlag.h"

class CSimpleThreadPool
{
public:
    using JobFunc = void (*)(void* pArg1, std::intptr_t nArg2);
    using TickFunc = std::function<std::uint32_t()>;
    using PumpFunc = std::function<void()>;

    // How long Stop waits for each running thread before it lets the thread go on alone.
    static constexpr std::uint32_t kStopWaitMs = 30000;
    // An idle worker looks at the queue this often even when no wake-up reaches it.
    static constexpr std::uint32_t kPollMs = 100;

    CSimpleThreadPool();
    // Stops the pool (see Stop).
    ~CSimpleThreadPool();
    CSimpleThreadPool(const CSimpleThreadPool&) = delete;
    CSimpleThreadPool& operator=(const CSimpleThreadPool&) = delete;

    // Starts nThreads workers named lpszName ("ThreadPool" when empty). Called once per
    // pool, from the owner's thread; always TRUE. nPriority is kept for the record only:
    // the line check runs at normal priority, which POSIX threads have by default.
    bool Start(const char* lpszName, int nThreads, int nPriority);

    // Queues a job that may run once dwDelay ms have passed. FALSE when the pool has no
    // workers (not started, or stopped) or when an untaken job of the same non-empty name
    // is queued. spKeepAlive (may be empty) is held until the job has returned, so what the
    // job works on outlives it even when Stop gave up waiting for it.
    bool AddJob(JobFunc pfn, void* pArg1, std::intptr_t nArg2, std::uint32_t dwDelay,
                const std::string& strJobName, std::shared_ptr<void> spKeepAlive = nullptr);

    // Drops the queued jobs, raises the stop flag and waits for every running job, at most
    // m_dwStopWaitMs per thread, calling the owner pump meanwhile so that results the jobs
    // send to the owner's thread are still served. A thread still running after that is
    // left to end on its own; it keeps what it uses alive. A second call returns at once.
    void Stop();

    // Called by Stop on the owner's thread while it waits: serve pending results here.
    void SetOwnerPump(PumpFunc fnPump) { m_fnPump = std::move(fnPump); }

    // Raised by Stop; a long job reads it between its steps and ends early.
    std::shared_ptr<const CStopFlag> GetStopFlag() const { return m_spStop; }

    // Settings for tests and other owners; each applies to the next Start.
    void SetTickSource(TickFunc fnTick) { m_fnTick = std::move(fnTick); }
    void SetRetirement(int nKeepThreads, std::uint32_t dwIdleTimeout);
    void SetStopWait(std::uint32_t dwStopWaitMs) { m_dwStopWaitMs = dwStopWaitMs; }
    void SetPollInterval(std::uint32_t dwPollMs) { m_dwPollMs = dwPollMs; }

    bool IsRunning() const;
    int GetThreadCount() const { return m_nThreadCount; }
    int GetPriority() const { return m_nPriority; }
    // Workers whose thread is running now (not yet started, retired or ended ones excluded).
    int CountLiveThreads();

private:
    struct _job_t
    {
        std::uint64_t nJobId = 0; // unique in the pool; finds the job again after it ran
        JobFunc pfnJob = nullptr;
        void* pArg1 = nullptr;
        std::intptr_t nArg2 = 0;
        std::string strJobName;
        bool bTaken = false;
        std::uint32_t dwDelay = 0;
        std::uint32_t dwQueuedTick = 0;
        std::shared_ptr<void> spKeepAlive;
    };

    // What the workers share with the pool. Owned jointly by the pool and every worker
    // thread, so a thread that outlives the pool object still finds it.
    struct _shared_t
    {
        std::mutex csJobs; // guards jobs and nNextJobId
        std::list<_job_t> jobs;
        std::uint64_t nNextJobId = 1;
        std::atomic<int> bRunning{0};
        TickFunc fnTick;
        int nKeepThreads = -1;
        std::uint32_t dwIdleTimeout = 10000;
        std::uint32_t dwPollMs = kPollMs;
        std::string strName;
    };

    struct _worker_t
    {
        std::shared_ptr<_shared_t> spShared;
        int nIndex = 0;
        std::atomic<int> bBusy{0};
        std::atomic<std::uint32_t> dwStartTick{0};

        // The wake event: auto-reset, set by SetEvent, consumed by one wait.
        std::mutex csWake;
        std::condition_variable cvWake;
        bool bWakeSignalled = false;

        // Raised by the thread as its last act; lets the owner tell a running thread.
        std::mutex csEnded;
        std::condition_variable cvEnded;
        bool bEnded = false;

        std::thread thread; // touched by the owner's thread only
        bool bHasThread = false;
    };

    static void WorkerProc(std::shared_ptr<_worker_t> spWorker);
    static bool TakeJob(_shared_t& shared, _job_t* pJob);
    static void RemoveJob(_shared_t& shared, const _job_t& job);
    static void SetEvent(_worker_t& worker);
    static bool WaitEvent(_worker_t& worker, std::uint32_t dwWaitMs);
    static bool HasEnded(_worker_t& worker);
    static std::uint32_t Tick(const _shared_t& shared);
    void StartWorkerThread(const std::shared_ptr<_worker_t>& spWorker);
    bool WaitForWorker(_worker_t& worker);

    int m_nThreadCount = 0;
    std::vector<std::shared_ptr<_worker_t>> m_workers;
    int m_nPriority = 0;
    std::string m_strName;
    int m_nKeepThreads = -1;
    std::uint32_t m_dwIdleTimeout = 10000;
    std::uint32_t m_dwStopWaitMs = kStopWaitMs;
    std::uint32_t m_dwPollMs = kPollMs;
    TickFunc m_fnTick;
    PumpFunc m_fnPump;
    std::shared_ptr<CStopFlag> m_spStop;
    std::shared_ptr<_shared_t> m_spShared; // the jobs of the current run
    std::mutex m_csWorkers;                // guards m_workers and the start and stop sequences
};
