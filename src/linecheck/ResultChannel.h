// The synchronous road of a finished result from a worker to the owner's thread: the worker
// queues an ID and waits until the owner's thread has handled it, like a sent (not posted)
// window message. The owner serves it from its event loop and while the pool stops.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class CResultChannel
{
public:
    using WakeFunc = std::function<void()>;
    using HandlerFunc = std::function<void(std::intptr_t nID)>;

    CResultChannel() = default;
    ~CResultChannel() = default;
    CResultChannel(const CResultChannel&) = delete;
    CResultChannel& operator=(const CResultChannel&) = delete;

    // Called on the sending worker's thread after each ID is queued, to make the owner's
    // thread serve the channel (the GUI posts a queued call). It must not wait for the
    // owner's thread. Close clears it and waits for a call under way, so it never runs
    // once Close has returned.
    void SetWakeCallback(WakeFunc fnWake);

    // Worker side: queues the ID and waits until the owner has handled it. TRUE when it was
    // handled; FALSE at once, or as soon as it happens, when the channel is closed.
    bool Send(std::intptr_t nID);

    // Owner side: handles up to nMax queued IDs in queue order (nMax <= 0: all), each
    // handled on the calling thread and outside the channel's lock; the sender of each is
    // released after its handler returns. Returns how many were handled.
    int Serve(const HandlerFunc& fnHandler, int nMax);

    // Owner side: waits at most nWaitMs for a queued ID; TRUE when one is queued.
    bool WaitPending(int nWaitMs);

    // IDs queued and not yet taken by Serve.
    int GetPendingCount() const;

    // Ends the channel: every waiting and later Send returns FALSE, unhandled.
    void Close();
    bool IsClosed() const;

private:
    struct PendingID
    {
        std::intptr_t nID = 0;
        // Shared with the sender, so a handler that ends after the sender gave up (closed
        // channel) never writes to a frame that is gone.
        std::shared_ptr<bool> spHandled;
    };

    mutable std::mutex m_csQueue;
    std::condition_variable m_cvQueued; // an ID was queued or the channel closed
    std::condition_variable m_cvServed; // an ID was handled or the channel closed
    std::deque<PendingID> m_queue;
    bool m_bClosed = false;

    std::mutex m_csWake; // held while the wake callback runs
    WakeFunc m_fnWake;
};
