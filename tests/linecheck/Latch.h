// A count-down latch with a bounded wait, for tests that must know a thread reached a point.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

class CTestLatch
{
public:
    explicit CTestLatch(int nCount = 1) : m_nCount(nCount) {}

    // Notifies under the lock: a waiter that returns may destroy the latch at once.
    void CountDown()
    {
        std::lock_guard<std::mutex> lock(m_cs);
        if (m_nCount > 0)
            --m_nCount;
        m_cv.notify_all();
    }

    // TRUE when the count reached zero within the wait. The bound is generous: it only keeps
    // a broken build from hanging.
    bool Wait(int nWaitMs = 10000)
    {
        std::unique_lock<std::mutex> lock(m_cs);
        return m_cv.wait_for(lock, std::chrono::milliseconds(nWaitMs),
                             [&] { return m_nCount == 0; });
    }

    bool IsOpen()
    {
        std::lock_guard<std::mutex> lock(m_cs);
        return m_nCount == 0;
    }

private:
    std::mutex m_cs;
    std::condition_variable m_cv;
    int m_nCount;
};
