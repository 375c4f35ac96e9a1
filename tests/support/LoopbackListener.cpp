#include "support/LoopbackListener.h"

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

int BindLoopback(std::uint16_t* pPort)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in sin;
    std::memset(&sin, 0, sizeof(sin));
    sin.sin_family = AF_INET;
    sin.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof(sin);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&sin), sizeof(sin)) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&sin), &len) != 0)
    {
        ::close(fd);
        return -1;
    }
    *pPort = ntohs(sin.sin_port);
    return fd;
}

} // namespace

CLoopbackListener::CLoopbackListener(int nBacklog)
{
    m_fd = BindLoopback(&m_nPort);
    if (m_fd >= 0 && ::listen(m_fd, nBacklog) != 0)
    {
        ::close(m_fd);
        m_fd = -1;
    }
}

CLoopbackListener::~CLoopbackListener()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int CLoopbackListener::AcceptOne()
{
    return m_fd < 0 ? -1 : ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
}

std::uint16_t FindClosedLoopbackPort()
{
    std::uint16_t port = 0;
    int fd = BindLoopback(&port);
    if (fd >= 0)
        ::close(fd);
    return port;
}
