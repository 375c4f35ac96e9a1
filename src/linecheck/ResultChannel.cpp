#include "linecheck/ResultChannel.h"

#include <chrono>

void CResultChannel::SetWakeCallback(WakeFunc fnWake)
{
    std::lock_guard<std::mutex> wake(m_csWake);
    m_fnWake = std::move(fnWake);
}

bool CResultChannel::Send(std::intptr_t nID)
{
    auto spHandled = std::make_shared<bool>(false);
    {
        std::lock_guard<std::mutex> lock(m_csQueue);
        if (m_bClosed)
            return false;
        m_queue.push_back(PendingID{nID, spHandled});
    }
    m_cvQueued.notify_all();
    {
        std::lock_guard<std::mutex> wake(m_csWake);
        if (m_fnWake)
            m_fnWake();
    }
    std::unique_lock<std::mutex> lock(m_csQueue);
    m_cvServed.wait(lock, [&] { return m_bClosed || *spHandled; });
    return *spHandled;
}

int CResultChannel::Serve(const HandlerFunc& fnHandler, int nMax)
{
    int nServed = 0;
    while (nMax <= 0 || nServed < nMax)
    {
        PendingID pending;
        {
            std::lock_guard<std::mutex> lock(m_csQueue);
            if (m_queue.empty())
                break;
            pending = m_queue.front();
            m_queue.pop_front();
        }
        if (fnHandler)
            fnHandler(pending.nID);
        {
            std::lock_guard<std::mutex> lock(m_csQueue);
            *pending.spHandled = true;
        }
        m_cvServed.notify_all();
        ++nServed;
    }
    return nServed;
}

bool CResultChannel::WaitPending(int nWaitMs)
{
    std::unique_lock<std::mutex> lock(m_csQueue);
    return m_cvQueued.wait_for(lock, std::chrono::milliseconds(nWaitMs > 0 ? nWaitMs : 0),
                               [&] { return m_bClosed || !m_queue.empty(); }) &&
           !m_queue.empty();
}

int CResultChannel::GetPendingCount() const
{
    std::lock_guard<std::mutex> lock(m_csQueue);
    return static_cast<int>(m_queue.size());
}

void CResultChannel::Close()
{
    {
        std::lock_guard<std::mutex> lock(m_csQueue);
        m_bClosed = true;
        m_queue.clear();
    }
    m_cvQueued.notify_all();
    m_cvServed.notify_all();
    std::lock_guard<std::mutex> wake(m_csWake);
    m_fnWake = nullptr;
}

bool CResultChannel::IsClosed() const
{
    std::lock_guard<std::mutex> lock(m_csQueue);
    return m_bClosed;
}
