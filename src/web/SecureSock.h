// A client connection that speaks TLS (OpenSSL) when its TLS flag is set: open with a
// bounded connect and handshake, write, and a buffered read with a wait and a peek mode.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Socket.h"
#include "web/HttpStream.h"
#include "web/ReadBuffer.h"

struct ssl_st;
struct ssl_ctx_st;
class CReceiveDeadline;

class CSecureSock
{
public:
    CSecureSock() = default;
    virtual ~CSecureSock();
    CSecureSock(const CSecureSock&) = delete;
    CSecureSock& operator=(const CSecureSock&) = delete;

    // Connects within nWaitMs; with the TLS flag the handshake then gets nWaitMs of its
    // own. On failure the socket is closed and nothing of the TLS connection remains.
    bool Open(const char* pszHost, std::uint16_t nPort, int nWaitMs);
    // The TLS handshake on a connected non-blocking socket, driven by poll within nWaitMs.
    // No certificate or host name is verified and no server name is sent.
    bool StartTls(SOCKET s, int nWaitMs);
    // Frees the TLS connection, the context and the read buffer; leaves the socket open.
    // The close-notify exchange is skipped when the peer already failed.
    void Shutdown();

    // One write of the whole length: its count, 0 when TLS asks to retry, -1 on error.
    int Write(const char* pData, int nLength);
    // Buffered bytes first, then at most one wait of nWaitMs for more. The count (0 when
    // the wait expired with nothing to return), -1 on error or when the peer closed.
    // nFlags: 0 or platform::kRecvPeek (the bytes stay unread).
    int Read(char* pBuffer, int nSize, int nFlags, int nWaitMs);
    // The buffered part of Read: allocates the buffer on first use (and returns 0 then).
    int ReadBuffered(char* pBuffer, int nSize, int nFlags);

    // The HTTP receive routines over this connection; they fail at once when it is not open.
    int RecvHttpHeader(std::string& strHeader, int* pnContentLength, CReceiveDeadline& deadline);
    bool RecvHttpBody(std::string& strBody, int nLength, CReceiveDeadline& deadline);
    bool RecvHttpChunked(std::string& strBody, CReceiveDeadline& deadline);

    // Open: the socket is valid and, with the TLS flag, the TLS connection exists.
    bool IsOpen() const;

    int m_nTls = 0;
    SOCKET m_hSocket = INVALID_SOCKET;
    int m_nPeerError = 0;
    ssl_st* m_pSsl = nullptr;
    ssl_ctx_st* m_pCtx = nullptr;

private:
    int ReadMore(char* pFill, int nSpace, int nWaitMs);

    CReadBuffer m_buffer;
};

// The secure socket as a stream of the HTTP receive routines; reads fail once it is not open.
class CSecureStream : public IHttpStream
{
public:
    explicit CSecureStream(CSecureSock& sock) : m_sock(sock) {}
    int Read(char* pBuffer, int nSize, int nFlags, int nWaitMs) override
    {
        return m_sock.IsOpen() ? m_sock.Read(pBuffer, nSize, nFlags, nWaitMs) : -1;
    }
    int PeekBuffered(char* pBuffer, int nSize) override
    {
        int n = m_sock.IsOpen() ? m_sock.ReadBuffered(pBuffer, nSize, platform::kRecvPeek) : 0;
        return n > 0 ? n : 0;
    }

private:
    CSecureSock& m_sock;
};
