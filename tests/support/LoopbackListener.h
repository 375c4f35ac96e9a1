// A TCP listener on 127.0.0.1 with a port chosen by the system, for probe tests.
#pragma once

#include <cstdint>

class CLoopbackListener
{
public:
    // nBacklog: the accept queue's length; connections are never accepted.
    explicit CLoopbackListener(int nBacklog = 16);
    ~CLoopbackListener();
    CLoopbackListener(const CLoopbackListener&) = delete;
    CLoopbackListener& operator=(const CLoopbackListener&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    std::uint16_t Port() const { return m_nPort; }
    // Accepts one queued connection; its descriptor (the caller closes it) or -1.
    int AcceptOne();

private:
    int m_fd = -1;
    std::uint16_t m_nPort = 0;
};

// A loopback port that nothing listens on (bound once, then released).
std::uint16_t FindClosedLoopbackPort();
