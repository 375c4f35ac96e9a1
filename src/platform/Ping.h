// One ICMP echo to an IPv4 host, the way the line check asks a train's router whether it is up.
#pragma once

namespace platform
{

// How long one echo waits for its reply.
constexpr int kPingWaitMs = 1000;

// The ICMP socket this process may open. Linux gives the unprivileged datagram socket to the
// groups in /proc/sys/net/ipv4/ping_group_range (an empty range such as "1 0" allows no one);
// a raw socket needs CAP_NET_RAW. kNone: no echo can be sent at all.
enum class PingSocketKind
{
    kNone,
    kDatagram,
    kRaw,
};

enum class PingStatus
{
    kReply,      // an echo reply to our own request arrived within the wait
    kNoReply,    // nothing matching arrived in time, or the host was unreachable
    kBadAddress, // not a dotted IPv4 address (names are never looked up)
    kNoSocket,   // no ICMP socket could be opened (see GetPingSocketKind)
};

// Opens and closes each kind in turn: the datagram socket first, then the raw one.
PingSocketKind GetPingSocketKind();

// One echo request with 32 bytes of data ("Data Buffer" and 21 zero bytes), no retry, over
// the first socket kind this process may use. Safe to call from several threads at once.
PingStatus PingHostStatus(const char* pszAddress, int nWaitMs = kPingWaitMs);
// The same over one given kind only; kNone gives kNoSocket.
PingStatus PingHostWith(PingSocketKind kind, const char* pszAddress, int nWaitMs);

// TRUE when the host answered one echo within 1000 ms.
bool PingHost(const char* pszAddress);

} // namespace platform
