#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <pthread.h>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "linecheck/Latch.h"
#include "linecheck/ResultChannel.h"
#include "linecheck/SimpleThreadPool.h"

namespace
{

// What the jobs of one test share with the test thread.
struct JobLog
{
    std::mutex cs;
    std::vector<std::intptr_t> ran; // job numbers in the order they ran
    std::vector<std::string> threadNames;
    CTestLatch* pGate = nullptr;    // jobs numbered 0 wait here until the test opens it
    CTestLatch* pStarted = nullptr; // counted down by every job as it starts
    CTestLatch* pDone = nullptr;    // counted down by every job as it ends

    void Record(std::intptr_t n)
    {
        std::lock_guard<std::mutex> lock(cs);
        ran.push_back(n);
    }
    std::vector<std::intptr_t> Ran()
    {
        std::lock_guard<std::mutex> lock(cs);
        return ran;
    }
};

void LoggingJob(void* pArg1, std::intptr_t nArg2)
{
    JobLog& log = *static_cast<JobLog*>(pArg1);
    if (log.pStarted)
        log.pStarted->CountDown();
    if (nArg2 == 0 && log.pGate)
        log.pGate->Wait();
    char name[32] = "";
    ::pthread_getname_np(::pthread_self(), name, sizeof(name));
    {
        std::lock_guard<std::mutex> lock(log.cs);
        log.threadNames.push_back(name);
    }
    log.Record(nArg2);
    if (log.pDone)
        log.pDone->CountDown();
}

void ThrowingJob(void* pArg1, std::intptr_t nArg2)
{
    static_cast<JobLog*>(pArg1)->Record(nArg2);
    if (nArg2 == 1)
        throw std::runtime_error("job failed");
    throw 42; // not a std::exception
}

// A tick counter the test moves by hand.
struct ManualTicks
{
    std::atomic<std::uint32_t> now{0};
    CSimpleThreadPool::TickFunc Func()
    {
        return [this] { return now.load(); };
    }
};

} // namespace

TEST(SimpleThreadPool, EightJobsOnEightIdleWorkersRunTogether)
{
    CTestLatch gate, started(8), done(8);
    JobLog log;
    log.pGate = &gate;
    log.pStarted = &started;
    log.pDone = &done;
    CSimpleThreadPool pool;
    ASSERT_TRUE(pool.Start("CHECK_TRAIN_WORKER", 8, 0));
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(pool.AddJob(&LoggingJob, &log, 0, 0, ""));
    // Every job waits at the gate, so all eight can only start if eight workers run them.
    EXPECT_TRUE(started.Wait());
    gate.CountDown();
    EXPECT_TRUE(done.Wait());
    pool.Stop();
    ASSERT_EQ(log.threadNames.size(), 8u);
    for (const std::string& name : log.threadNames)
        EXPECT_EQ(name, "CHECK_TRAIN_WOR"); // Linux keeps 15 bytes of a thread name
}

TEST(SimpleThreadPool, JobsRunFirstInFirstOutAndUnnamedPoolsNameThreadsThreadPool)
{
    CTestLatch gate, done(5);
    JobLog log;
    log.pGate = &gate;
    log.pDone = &done;
    CSimpleThreadPool pool;
    pool.Start("", 1, 0);
    ASSERT_TRUE(pool.AddJob(&LoggingJob, &log, 0, 0, ""));
    for (int i = 1; i <= 4; ++i)
        ASSERT_TRUE(pool.AddJob(&LoggingJob, &log, i, 0, ""));
    gate.CountDown();
    ASSERT_TRUE(done.Wait());
    EXPECT_EQ(log.Ran(), (std::vector<std::intptr_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(log.threadNames.front(), "ThreadPool");
}

TEST(SimpleThreadPool, NamedJobIsDroppedOnlyWhileAnUntakenJobOfThatNameWaits)
{
    CTestLatch gate, started, done(4);
    JobLog log;
    log.pGate = &gate;
    log.pStarted = &started;
    log.pDone = &done;
    CSimpleThreadPool pool;
    pool.Start("t", 1, 0);
    ASSERT_TRUE(pool.AddJob(&LoggingJob, &log, 0, 0, "busy"));
    ASSERT_TRUE(started.Wait()); // taken: its name no longer blocks
    EXPECT_TRUE(pool.AddJob(&LoggingJob, &log, 1, 0, "busy"));
    EXPECT_FALSE(pool.AddJob(&LoggingJob, &log, 2, 0, "busy")); // job 1 waits untaken
    EXPECT_TRUE(pool.AddJob(&LoggingJob, &log, 3, 0, "busy2")); // another name, same prefix
    EXPECT_TRUE(pool.AddJob(&LoggingJob, &log, 4, 0, ""));      // empty names never clash
    EXPECT_FALSE(pool.AddJob(&LoggingJob, &log, 5, 0, "busy2"));
    gate.CountDown();
    ASSERT_TRUE(done.Wait());
    pool.Stop();
    EXPECT_EQ(log.Ran(), (std::vector<std::intptr_t>{0, 1, 3, 4}));
}

TEST(SimpleThreadPool, DelayedJobWaitsForMoreThanItsDelayOrForTheTickCounterToWrap)
{
    ManualTicks ticks;
    ticks.now = 5000;
    JobLog log;
    CSimpleThreadPool pool;
    pool.SetTickSource(ticks.Func());
    pool.Start("t", 1, 0);

    // Job 1 is delayed by 1000 ms at tick 5000; each marker job runs only after the worker
    // has looked at job 1 and found it not yet due.
    auto runMarker = [&](std::intptr_t n)
    {
        CTestLatch done;
        log.pDone = &done;
        EXPECT_TRUE(pool.AddJob(&LoggingJob, &log, n, 0, ""));
        EXPECT_TRUE(done.Wait());
        log.pDone = nullptr;
    };
    ASSERT_TRUE(pool.AddJob(&LoggingJob, &log, 1, 1000, ""));
    runMarker(100);
    ticks.now = 6000; // exactly the delay: not yet
    runMarker(101);
    {
        CTestLatch done;
        log.pDone = &done;
        ticks.now = 6001;
        EXPECT_TRUE(done.Wait());
        log.pDone = nullptr;
    }
    EXPECT_EQ(log.Ran(), (std::vector<std::intptr_t>{100, 101, 1}));

    // Queued just before the counter wraps with a long delay: eligible once it has wrapped.
    ticks.now = 0xFFFFFF00u;
    ASSERT_TRUE(pool.AddJob(&LoggingJob, &log, 2, 3600000, ""));
    runMarker(102);
    {
        CTestLatch done;
        log.pDone = &done;
        ticks.now = 10;
        EXPECT_TRUE(done.Wait());
        log.pDone = nullptr;
    }
    pool.Stop();
    EXPECT_EQ(log.Ran(), (std::vector<std::intptr_t>{100, 101, 1, 102, 2}));
}

TEST(SimpleThreadPool, WorkerSurvivesJobsThatThrow)
{
    CTestLatch gate, last(2); // counted down by jobs 0 and 3
    JobLog log;
    log.pGate = &gate;
    log.pDone = &last;
    CSimpleThreadPool pool;
    pool.Start("t", 1, 0);
    ASSERT_TRUE(pool.AddJob(&LoggingJob, &log, 0, 0, ""));
    // All queued behind the gate, so no later AddJob could restart a dead worker.
    ASSERT_TRUE(pool.AddJob(&ThrowingJob, &log, 1, 0, "")); // std::exception
    ASSERT_TRUE(pool.AddJob(&ThrowingJob, &log, 2, 0, "")); // anything else
    ASSERT_TRUE(pool.AddJob(&LoggingJob, &log, 3, 0, ""));
    gate.CountDown();
    ASSERT_TRUE(last.Wait());
    pool.Stop();
    EXPECT_EQ(log.Ran(), (std::vector<std::intptr_t>{0, 1, 2, 3}));
}

TEST(SimpleThreadPool, StopDropsQueuedJobsWaitsForRunningOnesAndRefusesNewJobs)
{
    CTestLatch gate, started;
    JobLog log;
    log.pGate = &gate;
    log.pStarted = &started;
    CSimpleThreadPool pool;
    std::shared_ptr<const CStopFlag> spStop = pool.GetStopFlag();
    EXPECT_FALSE(pool.AddJob(&LoggingJob, &log, 9, 0, "")); // not started
    pool.Start("t", 1, 0);
    ASSERT_TRUE(pool.AddJob(&LoggingJob, &log, 0, 0, ""));
    ASSERT_TRUE(started.Wait());
    log.pStarted = nullptr;
    for (int i = 1; i <= 3; ++i)
        ASSERT_TRUE(pool.AddJob(&LoggingJob, &log, i, 0, ""));
    bool bStopSeenWhileWaiting = false;
    // Stop calls the pump on this thread while it waits: the running job is let go there.
    pool.SetOwnerPump(
        [&]
        {
            bStopSeenWhileWaiting = spStop->IsSet() && !pool.IsRunning();
            gate.CountDown();
        });
    pool.Stop();
    EXPECT_TRUE(bStopSeenWhileWaiting);
    EXPECT_EQ(log.Ran(), (std::vector<std::intptr_t>{0})); // returned before Stop did
    EXPECT_FALSE(pool.AddJob(&LoggingJob, &log, 4, 0, ""));
    EXPECT_EQ(pool.CountLiveThreads(), 0);
    pool.Stop(); // a second Stop finds nothing to do
    EXPECT_EQ(log.Ran(), (std::vector<std::intptr_t>{0}));
}

namespace
{

struct SendingJobState
{
    CResultChannel channel;
    std::atomic<int> nSendResult{-1};
};

void SendingJob(void* pArg1, std::intptr_t nArg2)
{
    auto& state = *static_cast<SendingJobState*>(pArg1);
    state.nSendResult = state.channel.Send(nArg2) ? 1 : 0;
}

} // namespace

TEST(SimpleThreadPool, StopServesResultsThatRunningJobsSendToTheOwner)
{
    SendingJobState state;
    std::vector<std::intptr_t> served;
    std::thread::id owner = std::this_thread::get_id();
    bool bServedOnOwner = true;
    {
        CSimpleThreadPool pool;
        pool.SetOwnerPump(
            [&]
            {
                state.channel.Serve(
                    [&](std::intptr_t nID)
                    {
                        served.push_back(nID);
                        bServedOnOwner = bServedOnOwner && std::this_thread::get_id() == owner;
                    },
                    10);
            });
        pool.Start("t", 2, 0);
        ASSERT_TRUE(pool.AddJob(&SendingJob, &state, 17, 0, ""));
        // Nobody serves the channel until Stop does: without that the job could not end.
        ASSERT_TRUE(state.channel.WaitPending(10000));
        pool.Stop();
    }
    EXPECT_EQ(served, (std::vector<std::intptr_t>{17}));
    EXPECT_TRUE(bServedOnOwner);
    EXPECT_EQ(state.nSendResult.load(), 1);
}

namespace
{

// Owned jointly by the test and the job; the job writes to it after the pool is gone.
struct LateJobSignals
{
    CTestLatch started;
    CTestLatch release;
    CTestLatch finished;
    std::atomic<bool> bSawStop{false};
};

struct LateJobState
{
    std::shared_ptr<const CStopFlag> spStop;
    std::shared_ptr<LateJobSignals> spSignals;
    std::vector<int> written;
};

void LateJob(void* pArg1, std::intptr_t)
{
    auto& state = *static_cast<LateJobState*>(pArg1);
    std::shared_ptr<LateJobSignals> spSignals = state.spSignals;
    spSignals->started.CountDown();
    spSignals->release.Wait(60000);
    state.written.assign(1000, 7); // fresh allocations: a freed state would be caught here
    spSignals->bSawStop = state.spStop->IsSet();
    spSignals->finished.CountDown();
}

} // namespace

TEST(SimpleThreadPool, JobStillRunningAfterTheStopBoundKeepsItsDataAliveAndEndsAlone)
{
    auto spSignals = std::make_shared<LateJobSignals>();
    auto spState = std::make_shared<LateJobState>();
    spState->spSignals = spSignals;
    std::weak_ptr<LateJobState> wpState = spState;
    {
        CSimpleThreadPool pool;
        pool.SetStopWait(100); // the bound is 30 s in use; the rule is the same
        pool.Start("t", 1, 0);
        spState->spStop = pool.GetStopFlag();
        ASSERT_TRUE(pool.AddJob(&LateJob, spState.get(), 0, 0, "", spState));
        ASSERT_TRUE(spSignals->started.Wait());
        pool.Stop(); // gives up on the job after the bound
        EXPECT_FALSE(spSignals->finished.IsOpen());
        EXPECT_EQ(pool.CountLiveThreads(), 0); // nothing left in the pool's hands
    }
    // The pool is gone and the test lets go of its share: only the job holds the state now.
    spState.reset();
    EXPECT_FALSE(wpState.expired());
    spSignals->release.CountDown();
    ASSERT_TRUE(spSignals->finished.Wait());
    EXPECT_TRUE(spSignals->bSawStop.load());
    // Then its worker lets go of the state; poll with a bound rather than a bare sleep.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!wpState.expired() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(wpState.expired());
}

TEST(SimpleThreadPool, RetiredWorkerIsStartedAgainByTheNextWakeWalk)
{
    CSimpleThreadPool pool;
    pool.SetRetirement(0, 50); // no worker is kept; an idle one ends after 50 ms
    pool.Start("t", 2, 0);
    EXPECT_EQ(pool.CountLiveThreads(), 0); // started on demand only
    for (int round = 0; round < 2; ++round)
    {
        CTestLatch done;
        JobLog log;
        log.pDone = &done;
        ASSERT_TRUE(pool.AddJob(&LoggingJob, &log, round, 0, ""));
        ASSERT_TRUE(done.Wait());
        // The worker retires once idle for longer than the timeout.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (pool.CountLiveThreads() != 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(pool.CountLiveThreads(), 0);
    }
    pool.Stop();
}

TEST(SimpleThreadPool, WakeWalkGoesOnPastAWorkerBusyForASecond)
{
    ManualTicks ticks;
    ticks.now = 1000;
    CTestLatch gate, started, done;
    JobLog log;
    log.pGate = &gate;
    log.pStarted = &started;
    CSimpleThreadPool pool;
    pool.SetTickSource(ticks.Func());
    pool.SetPollInterval(600000); // only wake-ups move the workers in this test
    pool.Start("t", 2, 0);
    ASSERT_TRUE(pool.AddJob(&LoggingJob, &log, 0, 0, "")); // worker 0 takes it and blocks
    ASSERT_TRUE(started.Wait());
    log.pStarted = nullptr;
    log.pDone = &done;
    // Busy for a second: the walk wakes worker 1 too, which runs the job at once.
    ticks.now = 2000;
    ASSERT_TRUE(pool.AddJob(&LoggingJob, &log, 1, 0, ""));
    EXPECT_TRUE(done.Wait());
    EXPECT_EQ(log.Ran(), (std::vector<std::intptr_t>{1})); // job 0 still blocked
    gate.CountDown();
    pool.Stop();
}

TEST(SimpleThreadPool, StopWakesIdleWorkersInsteadOfWaitingForTheirPoll)
{
    CSimpleThreadPool pool;
    pool.SetPollInterval(600000);
    pool.SetStopWait(600000);
    pool.Start("t", 4, 0);
    auto start = std::chrono::steady_clock::now();
    pool.Stop();
    // Without the wake-up each worker would sleep out its ten-minute poll.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    EXPECT_EQ(pool.CountLiveThreads(), 0);
}
