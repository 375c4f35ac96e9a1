#include "web/TcpConnect.h"

namespace
{
constexpr std::uint32_t kAddressNone = 0xFFFFFFFFu;
}

bool IsDottedAddress(const char* pszText)
{
    if (pszText == nullptr)
        return true;
    for (const char* p = pszText; *p != '\0'; ++p)
    {
        if (!((*p >= '0' && *p <= '9') || *p == '.'))
            return false;
    }
    return true;
}

std::uint32_t ResolveHostAddress(const char* pszHost)
{
    if (IsDottedAddress(pszHost))
        return platform::InetAddr(pszHost);
    std::uint32_t addr = kAddressNone;
    if (!platform::LookupHostIPv4(pszHost, &addr))
        return kAddressNone;
    return addr;
}

SOCKET BeginTcpConnect(const char* pszHost, std::uint16_t nPort, bool* pbPending)
{
    if (nPort > 65534)
        return INVALID_SOCKET;
    SOCKET s = platform::SocketCreateTcp();
    if (s == INVALID_SOCKET)
        return INVALID_SOCKET;
    if (!platform::SocketSetNonBlocking(s, true))
    {
        platform::SocketClose(s);
        return INVALID_SOCKET;
    }
    // The lookup is not bounded by the wait: a slow resolver delays the caller by its own time.
    std::uint32_t addr = ResolveHostAddress(pszHost);
    if (addr == kAddressNone)
    {
        platform::SocketClose(s);
        return INVALID_SOCKET;
    }
    *pbPending = true;
    switch (platform::SocketConnectIPv4(s, addr, nPort))
    {
    case platform::ConnectStart::kPending:
        return s;
    case platform::ConnectStart::kConnected:
        *pbPending = false;
        return s;
    case platform::ConnectStart::kFailed:
        break;
    }
    platform::SocketClose(s);
    return INVALID_SOCKET;
}

bool WaitTcpConnect(SOCKET s, int nWaitMs)
{
    if (platform::SocketWaitWritable(s, nWaitMs) <= 0)
        return false;
    int err = 0;
    if (!platform::SocketGetPendingError(s, &err))
        return false;
    return err == 0;
}

SOCKET ConnectTcpWithTimeout(const char* pszHost, std::uint16_t nPort, int nWaitMs)
{
    if (nPort == 0)
        return INVALID_SOCKET;
    bool bPending = false;
    SOCKET s = BeginTcpConnect(pszHost, nPort, &bPending);
    if (s == INVALID_SOCKET)
        return INVALID_SOCKET;
    if (bPending && !WaitTcpConnect(s, nWaitMs))
    {
        platform::SocketClose(s);
        return INVALID_SOCKET;
    }
    return s;
}

bool ProbeTcpPort(const char* pszHost, std::uint16_t nPort, int nWaitMs)
{
    if (nPort == 0)
        return false;
    bool bPending = false;
    SOCKET s = BeginTcpConnect(pszHost, nPort, &bPending);
    if (s == INVALID_SOCKET)
        return false;
    bool bConnected = !bPending || WaitTcpConnect(s, nWaitMs);
    platform::SocketClose(s);
    return bConnected;
}

int ReceiveWithTimeout(SOCKET s, char* pBuffer, int nSize, int nFlags, int nWaitMs)
{
    int ready = platform::SocketWaitReadable(s, nWaitMs);
    if (ready < 0)
        return -1;
    if (ready == 0)
        return 0;
    int n = platform::SocketRecv(s, pBuffer, nSize, nFlags);
    return n <= 0 ? -1 : n;
}
