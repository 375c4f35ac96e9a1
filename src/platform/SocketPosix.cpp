#include "platform/Socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform
{

void StartSockets()
{
    // MSG_NOSIGNAL covers our own sends; ignoring SIGPIPE also covers the TLS library's.
    std::signal(SIGPIPE, SIG_IGN);
}

void StopSockets() {}

SOCKET SocketCreateTcp()
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    return fd < 0 ? INVALID_SOCKET : static_cast<SOCKET>(fd);
}

bool SocketSetNonBlocking(SOCKET s, bool bNonBlocking)
{
    int fd = static_cast<int>(s);
    int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags < 0)
        return false;
    flags = bNonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    return ::fcntl(fd, F_SETFL, flags) == 0;
}

void SocketClose(SOCKET s)
{
    if (s != INVALID_SOCKET)
        ::close(static_cast<int>(s));
}

void SocketShutdown(SOCKET s)
{
    if (s != INVALID_SOCKET)
        ::shutdown(static_cast<int>(s), SHUT_RDWR);
}

void SocketShutdownSend(SOCKET s)
{
    if (s != INVALID_SOCKET)
        ::shutdown(static_cast<int>(s), SHUT_WR);
}

bool SocketCreatePair(SOCKET* pFirst, SOCKET* pSecond)
{
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
        return false;
    *pFirst = static_cast<SOCKET>(fds[0]);
    *pSecond = static_cast<SOCKET>(fds[1]);
    return true;
}

ConnectStart SocketConnectIPv4(SOCKET s, std::uint32_t addrNetworkOrder, std::uint16_t port)
{
    sockaddr_in sin;
    std::memset(&sin, 0, sizeof(sin));
    sin.sin_family = AF_INET;
    sin.sin_port = htons(port);
    sin.sin_addr.s_addr = addrNetworkOrder;
    int rc;
    do
        rc = ::connect(static_cast<int>(s), reinterpret_cast<const sockaddr*>(&sin), sizeof(sin));
    while (rc < 0 && errno == EINTR);
    if (rc == 0)
        return ConnectStart::kConnected;
    return errno == EINPROGRESS ? ConnectStart::kPending : ConnectStart::kFailed;
}

static int WaitFor(SOCKET s, short events, int waitMs)
{
    pollfd pfd;
    pfd.fd = static_cast<int>(s);
    pfd.events = events;
    pfd.revents = 0;
    int rc = ::poll(&pfd, 1, waitMs < 0 ? 0 : waitMs);
    if (rc < 0)
        return -1;
    if (rc == 0)
        return 0;
    // POLLERR/POLLHUP also end the wait: the following call reports what happened.
    return 1;
}

int SocketWaitWritable(SOCKET s, int waitMs)
{
    return WaitFor(s, POLLOUT, waitMs);
}
int SocketWaitReadable(SOCKET s, int waitMs)
{
    return WaitFor(s, POLLIN, waitMs);
}

bool SocketGetPendingError(SOCKET s, int* pnError)
{
    int err = 0;
    socklen_t len = sizeof(err);
    if (::getsockopt(static_cast<int>(s), SOL_SOCKET, SO_ERROR, &err, &len) != 0)
        return false;
    *pnError = err;
    return true;
}

int SocketSend(SOCKET s, const void* pData, int nLength)
{
    ssize_t n;
    do
        n = ::send(static_cast<int>(s), pData, nLength < 0 ? 0 : static_cast<size_t>(nLength),
                   MSG_NOSIGNAL);
    while (n < 0 && errno == EINTR);
    return n < 0 ? -1 : static_cast<int>(n);
}

int SocketRecv(SOCKET s, void* pBuffer, int nSize, int nFlags)
{
    int flags = (nFlags & kRecvPeek) ? MSG_PEEK : 0;
    ssize_t n;
    do
        n = ::recv(static_cast<int>(s), pBuffer, nSize < 0 ? 0 : static_cast<size_t>(nSize), flags);
    while (n < 0 && errno == EINTR);
    return n < 0 ? -1 : static_cast<int>(n);
}

bool SocketLastErrorWouldBlock()
{
    return errno == EAGAIN || errno == EWOULDBLOCK;
}

int SocketNativeHandle(SOCKET s)
{
    return static_cast<int>(s);
}

std::uint32_t InetAddr(const char* pszText)
{
    in_addr a;
    if (pszText == nullptr || *pszText == '\0' || ::inet_aton(pszText, &a) == 0)
        return 0xFFFFFFFFu;
    return a.s_addr;
}

bool LookupHostIPv4(const char* pszHost, std::uint32_t* pAddr)
{
    addrinfo hints;
    std::memset(&hints, 0, sizeof(hints));
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    if (pszHost == nullptr || ::getaddrinfo(pszHost, nullptr, &hints, &result) != 0 ||
        result == nullptr)
        return false;
    bool bFound = false;
    for (addrinfo* p = result; p != nullptr; p = p->ai_next)
    {
        if (p->ai_family == AF_INET && p->ai_addrlen >= sizeof(sockaddr_in))
        {
            *pAddr = reinterpret_cast<const sockaddr_in*>(p->ai_addr)->sin_addr.s_addr;
            bFound = true;
            break;
        }
    }
    ::freeaddrinfo(result);
    return bFound;
}

} // namespace platform
