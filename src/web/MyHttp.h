// One HTTP connection to a recorder, plain TCP or TLS, carrying one GET exchange.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Socket.h"
#include "web/HttpReceive.h"
#include "web/Lock.h"
#include "web/SecureSock.h"
#include "web/SocketReader.h"

// The request of CMyHttp::Get: the extra header lines (each ending in "\r\n") go before the
// Connection line. The Host line carries the address text alone, never the port.
std::string BuildGetRequest(const std::string& strPath, const std::string& strHost,
                            const std::string& strExtraHeaders);
// The request of the Digest exchange: the Authorization line, if any, after the Connection line.
std::string BuildDigestRequest(const std::string& strPath, const std::string& strHost,
                               const std::string& strAuthorization);

class CMyHttp
{
public:
    CMyHttp() = default;
    virtual ~CMyHttp();
    CMyHttp(const CMyHttp&) = delete;
    CMyHttp& operator=(const CMyHttp&) = delete;

    // Opens a connection within nWaitSeconds (with TLS, the handshake gets as long again).
    bool Connect(const char* pszHost, std::uint16_t nPort, int nWaitSeconds, bool bTls);
    void Close();
    bool IsConnected();
    // One send of the bytes: the count sent, -1 when not connected, 0 when TLS is not ready.
    int Send(const char* pData, int nLength);

    // Sends "GET path" with the extra header lines (each ending in "\r\n") and receives the
    // answer: header and decoded body. False when the request was not sent whole (answer
    // untouched), the header did not arrive (answer empty) or the body is incomplete
    // (answer holds the header alone). The answer must arrive within
    // kHttpDeadlineWaits waits.
    bool Get(const char* pszPath, std::string& strAnswer, int nWaitSeconds,
             const std::string* pstrExtraHeaders = nullptr);
    // The Digest exchange: unauthenticated request, then at most one retry on a new
    // connection with the answer computed from the 401 challenge.
    bool GetDigest(const char* pszPath, const std::string& strUser, const std::string& strPassword,
                   std::string& strAnswer, int nWaitSeconds);

    const std::string& GetHost() const { return m_strHost; }
    int GetPort() const { return m_nPort; }

    // The largest body accepted; tests lower it to show the cap without 64 MiB of traffic.
    void SetMaxBody(std::int64_t nMaxBody) { m_nMaxBody = nMaxBody; }

private:
    // Sends the request and receives the answer into strAnswer.
    bool Exchange(const std::string& strRequest, std::string& strAnswer, int nWaitSeconds,
                  bool* pbSent);

    SOCKET m_hSocket = INVALID_SOCKET;
    CLock m_csLock;
    CSecureSock m_secureSock;
    std::string m_strHost;
    int m_nPort = 80;
    int m_nTls = 0;
    CSocketReader m_reader;
    std::int64_t m_nMaxBody = kMaxHttpBody;
};
