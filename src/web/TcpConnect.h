// TCP connections to a recorder (or any IPv4 host) with one bounded wait each.
// Stateless free functions, safe to call from several threads at once.
#pragma once

#include <cstdint>

#include "platform/Socket.h"

// TRUE when every byte is an ASCII digit or a dot; also TRUE for the empty text.
bool IsDottedAddress(const char* pszText);

// The host's IPv4 address in network byte order, or 0xFFFFFFFF when it does not resolve.
// Dotted texts are never looked up: a malformed one (five parts, a part above 255) fails.
std::uint32_t ResolveHostAddress(const char* pszHost);

// Creates a non-blocking socket and starts connecting it. INVALID_SOCKET with nothing left
// open on failure; otherwise *pbPending tells whether the connect is still under way.
// Port 65535 is refused without creating a socket.
SOCKET BeginTcpConnect(const char* pszHost, std::uint16_t nPort, bool* pbPending);

// Waits for a pending connect; TRUE when it succeeded. Never closes the socket.
bool WaitTcpConnect(SOCKET s, int nWaitMs);

// A connected socket, still non-blocking, or INVALID_SOCKET. Port 0 is refused at once.
SOCKET ConnectTcpWithTimeout(const char* pszHost, std::uint16_t nPort, int nWaitMs);

// TRUE when a connection to host:port opens within the wait. Nothing is sent; the socket is
// closed before returning in every case. Port 0 fails at once.
bool ProbeTcpPort(const char* pszHost, std::uint16_t nPort, int nWaitMs);

// -1 on error or when the peer has closed, 0 when nothing arrived within the wait,
// otherwise the byte count (at most nSize). nFlags: 0 or platform::kRecvPeek.
int ReceiveWithTimeout(SOCKET s, char* pBuffer, int nSize, int nFlags, int nWaitMs);
