// A flag the pool's owner raises when it stops, read by long jobs between their steps so a
// check ends early instead of running on after nobody waits for it.
#pragma once

#include <atomic>

class CStopFlag
{
public:
    CStopFlag() = default;
    CStopFlag(const CStopFlag&) = delete;
    CStopFlag& operator=(const CStopFlag&) = delete;

    void Set() { m_bSet.store(true, std::memory_order_release); }
    bool IsSet() const { return m_bSet.load(std::memory_order_acquire); }

private:
    std::atomic<bool> m_bSet{false};
};
