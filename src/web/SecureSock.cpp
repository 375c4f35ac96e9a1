#include "web/SecureSock.h"

#include <chrono>
#include <cstring>
#include <openssl/err.h>
#include <openssl/ssl.h>

#include "web/HttpReceive.h"
#include "web/TcpConnect.h"

namespace
{

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point end)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Requests and reads of TLS records: one record holds at most 16384 plaintext bytes.
constexpr int kTlsReadSize = 16384;

} // namespace

CSecureSock::~CSecureSock()
{
    m_buffer.Free();
}

bool CSecureSock::IsOpen() const
{
    return m_hSocket != INVALID_SOCKET && (m_nTls == 0 || (m_pSsl != nullptr && m_pCtx != nullptr));
}

bool CSecureSock::Open(const char* pszHost, std::uint16_t nPort, int nWaitMs)
{
    // The TCP connection first (port 0 refused), then the handshake on it when asked for.
    SOCKET s = ConnectTcpWithTimeout(pszHost, nPort, nWaitMs);
    if (s == INVALID_SOCKET)
        return false;
    if (m_nTls != 0 && !StartTls(s, nWaitMs))
    {
        platform::SocketClose(s);
        return false;
    }
    m_hSocket = s;
    m_nPeerError = 0;
    return true;
}

bool CSecureSock::StartTls(SOCKET s, int nWaitMs)
{
    Clock::time_point end = Clock::now() + std::chrono::milliseconds(nWaitMs > 0 ? nWaitMs : 0);
    bool bDone = false;
    m_pCtx = SSL_CTX_new(TLS_client_method());
    if (m_pCtx != nullptr)
    {
        // 0x82000854: the bug workarounds, no SSLv3, and connections to servers without secure
        // renegotiation (older TLS stacks), which OpenSSL 3 no longer counts in SSL_OP_ALL.
        SSL_CTX_set_options(m_pCtx, SSL_OP_ALL | SSL_OP_NO_SSLv3 | SSL_OP_LEGACY_SERVER_CONNECT);
        m_pSsl = SSL_new(m_pCtx);
    }
    // The socket stays non-blocking: every step of the handshake waits by poll, so a peer
    // that accepts TCP and then stays silent costs at most the wait.
    if (m_pSsl != nullptr && SSL_set_fd(m_pSsl, platform::SocketNativeHandle(s)) != 0)
    {
        ERR_clear_error();
        for (;;)
        {
            int rc = SSL_connect(m_pSsl);
            if (rc == 1)
            {
                bDone = true;
                break;
            }
            // 0 is a handshake the peer shut down: no usable connection.
            int err = SSL_get_error(m_pSsl, rc);
            int ready;
            if (err == SSL_ERROR_WANT_READ)
                ready = platform::SocketWaitReadable(s, RemainingMs(end));
            else if (err == SSL_ERROR_WANT_WRITE)
                ready = platform::SocketWaitWritable(s, RemainingMs(end));
            else
                break;
            if (ready <= 0)
                break;
        }
    }
    if (!bDone)
    {
        // Nothing was exchanged that the peer still expects: no close-notify.
        m_nPeerError = 1;
        Shutdown();
        m_nPeerError = 0;
        return false;
    }
    return true;
}

void CSecureSock::Shutdown()
{
    if (m_pSsl != nullptr)
    {
        if (m_nPeerError == 0)
        {
            // Non-blocking: neither call waits for the peer.
            if (SSL_shutdown(m_pSsl) == 0)
            {
                if (m_hSocket != INVALID_SOCKET)
                    platform::SocketShutdownSend(m_hSocket);
                SSL_shutdown(m_pSsl);
            }
        }
        SSL_free(m_pSsl);
        m_pSsl = nullptr;
    }
    if (m_pCtx != nullptr)
    {
        SSL_CTX_free(m_pCtx);
        m_pCtx = nullptr;
    }
    m_buffer.Free();
    ERR_clear_error();
}

int CSecureSock::Write(const char* pData, int nLength)
{
    if (m_nTls == 0)
        return platform::SocketSend(m_hSocket, pData, nLength);
    if (m_pSsl == nullptr)
        return -1;
    ERR_clear_error();
    int rc = SSL_write(m_pSsl, pData, nLength);
    if (rc == nLength)
        return rc;
    switch (SSL_get_error(m_pSsl, rc))
    {
    case SSL_ERROR_NONE:
        return rc;
    case SSL_ERROR_WANT_READ:
    case SSL_ERROR_WANT_WRITE:
        return rc > 0 ? rc : 0;
    case SSL_ERROR_SSL:
    case SSL_ERROR_SYSCALL:
        m_nPeerError = 1;
        return -1;
    default:
        return -1;
    }
}

int CSecureSock::ReadBuffered(char* pBuffer, int nSize, int nFlags)
{
    if (!m_buffer.Exists())
        return m_buffer.Allocate() ? 0 : -1;
    return m_buffer.Take(pBuffer, nSize, (nFlags & platform::kRecvPeek) != 0);
}

int CSecureSock::ReadMore(char* pFill, int nSpace, int nWaitMs)
{
    if (m_nTls == 0)
    {
        int ready = platform::SocketWaitReadable(m_hSocket, nWaitMs);
        if (ready <= 0)
            return ready;
        int n = platform::SocketRecv(m_hSocket, pFill, nSpace, 0);
        if (n < 0 && platform::SocketLastErrorWouldBlock())
            return 0;
        return n > 0 ? n : -1;
    }
    Clock::time_point end = Clock::now() + std::chrono::milliseconds(nWaitMs > 0 ? nWaitMs : 0);
    int ask = nSpace < kTlsReadSize ? nSpace : kTlsReadSize;
    // Bytes already decrypted inside the TLS library never show on the socket: read them first.
    bool bWait = SSL_pending(m_pSsl) <= 0;
    for (;;)
    {
        if (bWait)
        {
            int ready = platform::SocketWaitReadable(m_hSocket, RemainingMs(end));
            if (ready <= 0)
                return ready;
        }
        ERR_clear_error();
        int n = SSL_read(m_pSsl, pFill, ask);
        if (n > 0)
            return n;
        if (n == 0)
            return -1;
        switch (SSL_get_error(m_pSsl, n))
        {
        case SSL_ERROR_SSL:
        case SSL_ERROR_SYSCALL:
            m_nPeerError = 1;
            return -1;
        case SSL_ERROR_WANT_READ:
        case SSL_ERROR_WANT_WRITE:
            // Part of a record, or a record with no data (a TLS 1.3 ticket): wait again.
            if (RemainingMs(end) <= 0)
                return 0;
            bWait = true;
            break;
        default:
            return -1;
        }
    }
}

int CSecureSock::Read(char* pBuffer, int nSize, int nFlags, int nWaitMs)
{
    if (m_hSocket == INVALID_SOCKET || (m_nTls != 0 && m_pSsl == nullptr))
        return -1;
    int first = ReadBuffered(pBuffer, nSize, nFlags);
    if (first < 0)
        return -1;
    if (first >= nSize)
        return first;
    char* pFill = m_buffer.FillPointer();
    int n = ReadMore(pFill, m_buffer.SpaceLeft(), nWaitMs);
    if (n < 0)
        return -1;
    if (n == 0)
        return first;
    int missing = nSize - first;
    int copied = n < missing ? n : missing;
    std::memcpy(pBuffer + first, pFill, static_cast<std::size_t>(copied));
    bool bPeek = (nFlags & platform::kRecvPeek) != 0;
    m_buffer.Added(n, bPeek ? 0 : copied);
    return first + copied;
}

int CSecureSock::RecvHttpHeader(std::string& strHeader, int* pnContentLength,
                                CReceiveDeadline& deadline)
{
    if (!IsOpen())
        return 0;
    CSecureStream stream(*this);
    return ::RecvHttpHeader(stream, strHeader, pnContentLength, deadline);
}

bool CSecureSock::RecvHttpBody(std::string& strBody, int nLength, CReceiveDeadline& deadline)
{
    if (!IsOpen())
        return false;
    CSecureStream stream(*this);
    return ::RecvHttpBody(stream, strBody, nLength, deadline);
}

bool CSecureSock::RecvHttpChunked(std::string& strBody, CReceiveDeadline& deadline)
{
    if (!IsOpen())
        return false;
    CSecureStream stream(*this);
    return ::RecvHttpChunked(stream, strBody, deadline);
}
