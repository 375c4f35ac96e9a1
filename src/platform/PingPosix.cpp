#include "platform/Ping.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <linux/icmp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform
{

namespace
{

constexpr std::uint8_t kIcmpEchoReply = 0;
constexpr std::uint8_t kIcmpEchoRequest = 8;
constexpr int kIcmpHeaderSize = 8;
constexpr int kMinIpHeaderSize = 20;
constexpr int kEchoDataSize = 32;

// The request's data: "Data Buffer" and zero bytes up to 32.
void FillEchoData(std::uint8_t* pData)
{
    static const char kText[] = "Data Buffer";
    std::memset(pData, 0, kEchoDataSize);
    std::memcpy(pData, kText, sizeof(kText) - 1);
}

std::uint16_t InternetChecksum(const std::uint8_t* p, int nLength)
{
    std::uint32_t sum = 0;
    for (int i = 0; i + 1 < nLength; i += 2)
        sum += static_cast<std::uint32_t>(p[i] << 8 | p[i + 1]);
    if (nLength % 2 != 0)
        sum += static_cast<std::uint32_t>(p[nLength - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum & 0xFFFF);
}

std::uint16_t ReadBigEndian16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

void WriteBigEndian16(std::uint8_t* p, std::uint16_t n)
{
    p[0] = static_cast<std::uint8_t>(n >> 8);
    p[1] = static_cast<std::uint8_t>(n & 0xFF);
}

std::int64_t MonotonicMs()
{
    timespec ts;
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// Dotted decimal only: "router.local" is never looked up and "0x7f.1" is refused, as is
// 255.255.255.255, which inet_addr cannot tell from a malformed text.
bool ParseDottedAddress(const char* pszAddress, in_addr* pAddr)
{
    if (pszAddress == nullptr || *pszAddress == '\0')
        return false;
    for (const char* p = pszAddress; *p != '\0'; ++p)
        if (!((*p >= '0' && *p <= '9') || *p == '.'))
            return false;
    if (::inet_aton(pszAddress, pAddr) == 0)
        return false;
    return pAddr->s_addr != INADDR_NONE;
}

int OpenIcmpSocket(PingSocketKind kind)
{
    int nType = kind == PingSocketKind::kDatagram ? SOCK_DGRAM : SOCK_RAW;
    return ::socket(AF_INET, nType | SOCK_CLOEXEC, IPPROTO_ICMP);
}

// A raw socket sees every ICMP message the host receives; a process-wide sequence keeps
// the requests of concurrent pings apart, the identifier keeps other processes' apart.
std::uint16_t NextSequence()
{
    static std::atomic<std::uint32_t> s_nSequence{0};
    return static_cast<std::uint16_t>(s_nSequence.fetch_add(1) + 1);
}

// Does this ICMP message (header and data) answer our request?
bool IsOurReply(const std::uint8_t* pIcmp, int nLength, std::uint16_t nIdentifier,
                std::uint16_t nSequence, const std::uint8_t* pData)
{
    if (nLength < kIcmpHeaderSize + kEchoDataSize)
        return false;
    if (pIcmp[0] != kIcmpEchoReply || pIcmp[1] != 0)
        return false;
    if (ReadBigEndian16(pIcmp + 4) != nIdentifier || ReadBigEndian16(pIcmp + 6) != nSequence)
        return false;
    return std::memcmp(pIcmp + kIcmpHeaderSize, pData, kEchoDataSize) == 0;
}

PingStatus EchoOnce(int fd, PingSocketKind kind, const in_addr& target, int nWaitMs)
{
    sockaddr_in to;
    std::memset(&to, 0, sizeof(to));
    to.sin_family = AF_INET;
    to.sin_addr = target;

    if (kind == PingSocketKind::kRaw)
    {
        // Only echo replies reach this socket; the rest of the host's ICMP traffic is not ours.
        icmp_filter filter;
        filter.data = ~(1u << kIcmpEchoReply);
        ::setsockopt(fd, SOL_RAW, ICMP_FILTER, &filter, sizeof(filter));
    }

    std::uint8_t request[kIcmpHeaderSize + kEchoDataSize];
    std::memset(request, 0, sizeof(request));
    request[0] = kIcmpEchoRequest;
    std::uint16_t nIdentifier = static_cast<std::uint16_t>(::getpid() & 0xFFFF);
    std::uint16_t nSequence = NextSequence();
    WriteBigEndian16(request + 4, nIdentifier);
    WriteBigEndian16(request + 6, nSequence);
    FillEchoData(request + kIcmpHeaderSize);
    WriteBigEndian16(request + 2, InternetChecksum(request, sizeof(request)));

    ssize_t nSent;
    do
        nSent = ::sendto(fd, request, sizeof(request), 0, reinterpret_cast<const sockaddr*>(&to),
                         sizeof(to));
    while (nSent < 0 && errno == EINTR);
    if (nSent != static_cast<ssize_t>(sizeof(request)))
        return PingStatus::kNoReply; // no route, or a packet filter refused it

    if (kind == PingSocketKind::kDatagram)
    {
        // The kernel puts the socket's own port in the identifier field of the request.
        sockaddr_in local;
        socklen_t nLocal = sizeof(local);
        if (::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &nLocal) != 0)
            return PingStatus::kNoReply;
        nIdentifier = ntohs(local.sin_port);
    }

    // Room for the largest IP header (60 bytes) and our message, and more, so that a longer
    // stray message is read whole and skipped rather than cut.
    std::uint8_t reply[1500];
    const std::uint8_t* pData = request + kIcmpHeaderSize;
    std::int64_t nDeadline = MonotonicMs() + (nWaitMs > 0 ? nWaitMs : 0);
    for (;;)
    {
        std::int64_t nLeft = nDeadline - MonotonicMs();
        if (nLeft < 0)
            return PingStatus::kNoReply;
        pollfd pfd = {fd, POLLIN, 0};
        int rc = ::poll(&pfd, 1, static_cast<int>(nLeft));
        if (rc < 0 && errno == EINTR)
            continue;
        if (rc <= 0)
            return PingStatus::kNoReply;

        sockaddr_in from;
        socklen_t nFrom = sizeof(from);
        ssize_t n = ::recvfrom(fd, reply, sizeof(reply), MSG_DONTWAIT,
                               reinterpret_cast<sockaddr*>(&from), &nFrom);
        if (n < 0)
        {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
                continue;
            return PingStatus::kNoReply; // an ICMP error for our request: unreachable
        }
        if (nFrom < sizeof(from) || from.sin_addr.s_addr != target.s_addr)
            continue;

        const std::uint8_t* pIcmp = reply;
        int nIcmp = static_cast<int>(n);
        if (kind == PingSocketKind::kRaw)
        {
            // A raw socket hands over the IP header too; its length comes from the header.
            if (nIcmp < kMinIpHeaderSize || (reply[0] >> 4) != 4 || reply[9] != IPPROTO_ICMP)
                continue;
            int nIpHeader = (reply[0] & 0x0F) * 4;
            if (nIpHeader < kMinIpHeaderSize || nIpHeader > nIcmp)
                continue;
            pIcmp += nIpHeader;
            nIcmp -= nIpHeader;
        }
        if (IsOurReply(pIcmp, nIcmp, nIdentifier, nSequence, pData))
            return PingStatus::kReply;
    }
}

} // namespace

PingSocketKind GetPingSocketKind()
{
    for (PingSocketKind kind : {PingSocketKind::kDatagram, PingSocketKind::kRaw})
    {
        int fd = OpenIcmpSocket(kind);
        if (fd >= 0)
        {
            ::close(fd);
            return kind;
        }
    }
    return PingSocketKind::kNone;
}

PingStatus PingHostWith(PingSocketKind kind, const char* pszAddress, int nWaitMs)
{
    in_addr target;
    if (!ParseDottedAddress(pszAddress, &target))
        return PingStatus::kBadAddress;
    if (kind == PingSocketKind::kNone)
        return PingStatus::kNoSocket;
    int fd = OpenIcmpSocket(kind);
    if (fd < 0)
        return PingStatus::kNoSocket;
    PingStatus status = EchoOnce(fd, kind, target, nWaitMs);
    ::close(fd);
    return status;
}

PingStatus PingHostStatus(const char* pszAddress, int nWaitMs)
{
    in_addr target;
    if (!ParseDottedAddress(pszAddress, &target))
        return PingStatus::kBadAddress;
    for (PingSocketKind kind : {PingSocketKind::kDatagram, PingSocketKind::kRaw})
    {
        int fd = OpenIcmpSocket(kind);
        if (fd < 0)
            continue;
        PingStatus status = EchoOnce(fd, kind, target, nWaitMs);
        ::close(fd);
        return status;
    }
    return PingStatus::kNoSocket;
}

bool PingHost(const char* pszAddress)
{
    return PingHostStatus(pszAddress, kPingWaitMs) == PingStatus::kReply;
}

} // namespace platform
