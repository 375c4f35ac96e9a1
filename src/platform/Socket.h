// Sockets with bounded waits: the small part of Windows Sockets the web client needs.
// IPv4 and TCP only. Waits use poll(), so descriptor numbers are never limited.
#pragma once

#include <cstdint>

#ifdef _WIN32
#include <winsock2.h>
#else
// A socket handle; INVALID_SOCKET (all bits set) means there is none.
using SOCKET = std::intptr_t;
constexpr SOCKET INVALID_SOCKET = -1;
#endif

namespace platform
{

// Starts the socket layer once per process. On POSIX it makes a peer that closes
// mid-send return an error instead of killing the process (SIGPIPE ignored).
void StartSockets();
void StopSockets();

// A new TCP socket (AF_INET, SOCK_STREAM), or INVALID_SOCKET.
SOCKET SocketCreateTcp();
bool SocketSetNonBlocking(SOCKET s, bool bNonBlocking);
void SocketClose(SOCKET s);
// Half-closes both directions; errors are ignored.
void SocketShutdown(SOCKET s);
// Half-closes the sending direction only (the peer reads end of stream); errors are ignored.
void SocketShutdownSend(SOCKET s);
// Two connected local stream sockets, blocking; false when they could not be made.
bool SocketCreatePair(SOCKET* pFirst, SOCKET* pSecond);

enum class ConnectStart
{
    kConnected, // established at once
    kPending,   // under way (would block)
    kFailed,
};
// Starts connecting to an IPv4 address in network byte order and a port in host order.
ConnectStart SocketConnectIPv4(SOCKET s, std::uint32_t addrNetworkOrder, std::uint16_t port);

// One bounded wait: 1 ready, 0 the wait expired, -1 error. A negative wait counts as 0
// (poll once) so that a broken setting can never turn into an endless wait.
int SocketWaitWritable(SOCKET s, int waitMs);
int SocketWaitReadable(SOCKET s, int waitMs);

// The pending error of a connect (SO_ERROR); false when it could not be read.
bool SocketGetPendingError(SOCKET s, int* pnError);

constexpr int kRecvPeek = 1; // look without consuming

// send()/recv() with the platform's return convention: bytes moved, 0 when the peer
// closed (recv only), -1 on error. Sending never raises SIGPIPE.
int SocketSend(SOCKET s, const void* pData, int nLength);
int SocketRecv(SOCKET s, void* pBuffer, int nSize, int nFlags);
// true when the last failed call would have blocked (EAGAIN / WSAEWOULDBLOCK).
bool SocketLastErrorWouldBlock();

// The descriptor a TLS library takes for this socket.
int SocketNativeHandle(SOCKET s);

// inet_addr(): dotted IPv4 text to network-order address, 0xFFFFFFFF when malformed.
std::uint32_t InetAddr(const char* pszText);
// Thread-safe name lookup; the first IPv4 address of the host in network order.
bool LookupHostIPv4(const char* pszHost, std::uint32_t* pAddr);

} // namespace platform
