#include "linecheck/SimpleThreadPool.h"

#include <chrono>
#include <system_error>

#include "platform/Clock.h"
#include "platform/Thread.h"

namespace
{

// The wake walk spills over to the next worker only past a job this old.
constexpr std::uint32_t kBusySpillMs = 1000;
// Stop checks a thread it waits for this often between serving the owner's results.
constexpr std::uint32_t kStopPollMs = 5;

} // namespace

CSimpleThreadPool::CSimpleThreadPool() : m_spStop(std::make_shared<CStopFlag>()) {}

CSimpleThreadPool::~CSimpleThreadPool()
{
    Stop();
}

void CSimpleThreadPool::SetRetirement(int nKeepThreads, std::uint32_t dwIdleTimeout)
{
    m_nKeepThreads = nKeepThreads;
    m_dwIdleTimeout = dwIdleTimeout;
}

bool CSimpleThreadPool::IsRunning() const
{
    return m_spShared && m_spShared->bRunning.load() != 0;
}

int CSimpleThreadPool::CountLiveThreads()
{
    std::lock_guard<std::mutex> workers(m_csWorkers);
    int nLive = 0;
    for (const auto& spWorker : m_workers)
        if (spWorker->bHasThread && !HasEnded(*spWorker))
            ++nLive;
    return nLive;
}

std::uint32_t CSimpleThreadPool::Tick(const _shared_t& shared)
{
    return shared.fnTick ? shared.fnTick() : platform::GetTickCount();
}

bool CSimpleThreadPool::Start(const char* lpszName, int nThreads, int nPriority)
{
    std::lock_guard<std::mutex> workers(m_csWorkers);
    m_nThreadCount = nThreads > 0 ? nThreads : 0;
    m_nPriority = nPriority;
    m_strName = lpszName ? lpszName : "";

    // A fresh shared state per run: a thread left over from an earlier run keeps its own.
    auto spShared = std::make_shared<_shared_t>();
    spShared->fnTick = m_fnTick;
    spShared->nKeepThreads = m_nKeepThreads;
    spShared->dwIdleTimeout = m_dwIdleTimeout;
    spShared->dwPollMs = m_dwPollMs;
    spShared->strName = m_strName.empty() ? "ThreadPool" : m_strName;
    spShared->bRunning.store(1);
    m_spShared = spShared;

    for (int i = 0; i < m_nThreadCount; ++i)
    {
        auto spWorker = std::make_shared<_worker_t>();
        spWorker->spShared = spShared;
        spWorker->nIndex = i;
        m_workers.push_back(spWorker);
        if (m_nKeepThreads < 0 || i < m_nKeepThreads)
            StartWorkerThread(spWorker);
    }
    return true;
}

void CSimpleThreadPool::StartWorkerThread(const std::shared_ptr<_worker_t>& spWorker)
{
    {
        std::lock_guard<std::mutex> ended(spWorker->csEnded);
        spWorker->bEnded = false;
    }
    // The thread owns a reference to its record (and through it the shared state), so it
    // never depends on the pool object still being there.
    try
    {
        spWorker->thread = std::thread(&CSimpleThreadPool::WorkerProc, spWorker);
        spWorker->bHasThread = true;
    }
    catch (const std::system_error&)
    {
        // Out of threads: the worker stays without one and the next wake walk tries again.
        spWorker->bHasThread = false;
    }
}

bool CSimpleThreadPool::AddJob(JobFunc pfn, void* pArg1, std::intptr_t nArg2, std::uint32_t dwDelay,
                               const std::string& strJobName, std::shared_ptr<void> spKeepAlive)
{
    std::shared_ptr<_shared_t> spShared = m_spShared;
    if (!spShared)
        return false;
    std::lock_guard<std::mutex> jobs(spShared->csJobs);
    std::lock_guard<std::mutex> workers(m_csWorkers);
    if (m_workers.empty())
        return false;

    if (!strJobName.empty())
    {
        for (const _job_t& queued : spShared->jobs)
            if (!queued.bTaken && queued.strJobName == strJobName)
                return false;
    }

    _job_t job;
    job.nJobId = spShared->nNextJobId++;
    job.pfnJob = pfn;
    job.pArg1 = pArg1;
    job.nArg2 = nArg2;
    job.strJobName = strJobName;
    job.dwDelay = dwDelay;
    job.dwQueuedTick = Tick(*spShared);
    job.spKeepAlive = std::move(spKeepAlive);
    spShared->jobs.push_back(std::move(job));

    // The wake walk: wake one worker, and go on to the next only past one that has been
    // busy with its job for a second or more. A worker without a running thread is started.
    std::uint32_t now = Tick(*spShared);
    for (int i = 0; i < m_nThreadCount && i < static_cast<int>(m_workers.size()); ++i)
    {
        _worker_t& worker = *m_workers[i];
        if (!worker.bHasThread || HasEnded(worker))
        {
            if (worker.bHasThread && worker.thread.joinable())
                worker.thread.join(); // it has ended; this only reaps it
            StartWorkerThread(m_workers[i]);
            SetEvent(worker);
            break;
        }
        SetEvent(worker);
        if (worker.bBusy.load() == 0 || now - worker.dwStartTick.load() < kBusySpillMs)
            break;
    }
    return true;
}

void CSimpleThreadPool::SetEvent(_worker_t& worker)
{
    {
        std::lock_guard<std::mutex> wake(worker.csWake);
        worker.bWakeSignalled = true;
    }
    worker.cvWake.notify_one();
}

bool CSimpleThreadPool::WaitEvent(_worker_t& worker, std::uint32_t dwWaitMs)
{
    std::unique_lock<std::mutex> wake(worker.csWake);
    bool bSignalled = worker.cvWake.wait_for(wake, std::chrono::milliseconds(dwWaitMs),
                                             [&] { return worker.bWakeSignalled; });
    worker.bWakeSignalled = false; // auto-reset
    return bSignalled;
}

bool CSimpleThreadPool::HasEnded(_worker_t& worker)
{
    std::lock_guard<std::mutex> ended(worker.csEnded);
    return worker.bEnded;
}

bool CSimpleThreadPool::TakeJob(_shared_t& shared, _job_t* pJob)
{
    std::lock_guard<std::mutex> jobs(shared.csJobs);
    std::uint32_t now = Tick(shared);
    for (_job_t& job : shared.jobs)
    {
        if (job.bTaken)
            continue;
        // A counter that wrapped since queueing makes a delayed job eligible at once.
        if (job.dwDelay == 0 || now < job.dwQueuedTick || now - job.dwQueuedTick > job.dwDelay)
        {
            job.bTaken = true;
            *pJob = job;
            return true;
        }
    }
    return false;
}

void CSimpleThreadPool::RemoveJob(_shared_t& shared, const _job_t& job)
{
    std::lock_guard<std::mutex> jobs(shared.csJobs);
    for (auto it = shared.jobs.begin(); it != shared.jobs.end(); ++it)
    {
        if (it->nJobId == job.nJobId)
        {
            shared.jobs.erase(it);
            return;
        }
    }
}

void CSimpleThreadPool::WorkerProc(std::shared_ptr<_worker_t> spWorker)
{
    _worker_t& worker = *spWorker;
    _shared_t& shared = *worker.spShared;
    platform::SetCurrentThreadName(shared.strName.c_str());

    while (shared.bRunning.load() != 0)
    {
        _job_t job;
        if (TakeJob(shared, &job))
        {
            worker.bBusy.store(1);
            worker.dwStartTick.store(Tick(shared));
            try
            {
                job.pfnJob(job.pArg1, job.nArg2);
            }
            catch (...)
            {
                // A job that throws is abandoned; the worker goes on with the next one.
            }
            RemoveJob(shared, job);
            job = _job_t(); // lets go of the job's keep-alive before the next wait
            continue;
        }
        worker.bBusy.store(0);
        if (shared.nKeepThreads >= 0 && worker.nIndex >= shared.nKeepThreads &&
            Tick(shared) - worker.dwStartTick.load() > shared.dwIdleTimeout)
            break; // retires; the next wake walk that reaches it starts it again
        WaitEvent(worker, shared.dwPollMs);
    }

    worker.bBusy.store(0);
    {
        std::lock_guard<std::mutex> ended(worker.csEnded);
        worker.bEnded = true;
    }
    worker.cvEnded.notify_all();
}

bool CSimpleThreadPool::WaitForWorker(_worker_t& worker)
{
    std::uint32_t dwStart = platform::GetTickCount();
    for (;;)
    {
        if (m_fnPump)
            m_fnPump();
        {
            std::unique_lock<std::mutex> ended(worker.csEnded);
            if (worker.cvEnded.wait_for(ended, std::chrono::milliseconds(kStopPollMs),
                                        [&] { return worker.bEnded; }))
                return true;
        }
        if (platform::GetTickCount() - dwStart >= m_dwStopWaitMs)
            return false;
    }
}

void CSimpleThreadPool::Stop()
{
    std::vector<std::shared_ptr<_worker_t>> workers;
    {
        std::lock_guard<std::mutex> lock(m_csWorkers);
        if (m_workers.empty())
            return;
        workers.swap(m_workers);
    }
    std::shared_ptr<_shared_t> spShared = m_spShared;
    {
        std::lock_guard<std::mutex> jobs(spShared->csJobs);
        // Queued jobs are dropped without running; those being run stay until they return.
        for (auto it = spShared->jobs.begin(); it != spShared->jobs.end();)
            it = it->bTaken ? std::next(it) : spShared->jobs.erase(it);
    }
    m_spStop->Set();
    spShared->bRunning.store(0);

    for (auto& spWorker : workers)
        if (spWorker->bHasThread && !HasEnded(*spWorker))
            SetEvent(*spWorker);

    for (auto& spWorker : workers)
    {
        if (!spWorker->bHasThread)
            continue;
        if (WaitForWorker(*spWorker))
            spWorker->thread.join();
        else
            spWorker->thread.detach(); // still running: it holds what it needs and ends alone
        spWorker->bHasThread = false;
    }
}
