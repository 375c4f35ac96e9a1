#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "linecheck/Latch.h"
#include "linecheck/ResultChannel.h"

TEST(ResultChannel, SenderWaitsUntilTheOwnerHasHandledItsID)
{
    CResultChannel channel;
    std::atomic<int> nWakes{0};
    channel.SetWakeCallback([&] { ++nWakes; });
    std::atomic<bool> bReturned{false};
    std::atomic<bool> bResult{false};
    std::thread worker(
        [&]
        {
            bResult = channel.Send(42);
            bReturned = true;
        });
    ASSERT_TRUE(channel.WaitPending(10000));
    std::vector<std::intptr_t> handled;
    bool bSenderStillWaiting = false;
    EXPECT_EQ(channel.Serve(
                  [&](std::intptr_t nID)
                  {
                      handled.push_back(nID);
                      bSenderStillWaiting = !bReturned.load();
                  },
                  0),
              1);
    worker.join();
    EXPECT_EQ(handled, std::vector<std::intptr_t>{42});
    EXPECT_TRUE(bSenderStillWaiting);
    EXPECT_TRUE(bResult.load());
    EXPECT_EQ(nWakes.load(), 1);
    EXPECT_FALSE(channel.WaitPending(0));
}

TEST(ResultChannel, ServeTakesAtMostTheGivenNumberInQueueOrder)
{
    CResultChannel channel;
    std::vector<std::thread> workers;
    // One sender after the other, each queued before the next starts, so the order is known.
    for (int i = 1; i <= 3; ++i)
    {
        workers.emplace_back([&channel, i] { channel.Send(i); });
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (channel.GetPendingCount() < i && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_EQ(channel.GetPendingCount(), i);
    }
    std::vector<std::intptr_t> handled;
    auto record = [&](std::intptr_t nID) { handled.push_back(nID); };
    EXPECT_EQ(channel.Serve(record, 2), 2);
    EXPECT_EQ(handled, (std::vector<std::intptr_t>{1, 2}));
    EXPECT_EQ(channel.Serve(record, 0), 1);
    EXPECT_EQ(handled, (std::vector<std::intptr_t>{1, 2, 3}));
    for (auto& worker : workers)
        worker.join();
}

TEST(ResultChannel, CloseReleasesWaitingSendersAndRefusesLaterOnes)
{
    CResultChannel channel;
    std::atomic<int> nWakes{0};
    CTestLatch woken;
    channel.SetWakeCallback(
        [&]
        {
            ++nWakes;
            woken.CountDown();
        });
    std::atomic<int> nResult{-1};
    std::thread worker([&] { nResult = channel.Send(1) ? 1 : 0; });
    ASSERT_TRUE(woken.Wait());
    channel.Close();
    worker.join();
    EXPECT_EQ(nResult.load(), 0);
    EXPECT_TRUE(channel.IsClosed());
    EXPECT_FALSE(channel.Send(2)); // at once, without waiting for anyone
    EXPECT_EQ(nWakes.load(), 1);   // no wake-up after Close
    EXPECT_EQ(channel.Serve([](std::intptr_t) { ADD_FAILURE(); }, 0), 0);
}
