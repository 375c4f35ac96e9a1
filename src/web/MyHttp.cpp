#include "web/MyHttp.h"

#include "web/TcpConnect.h"

namespace
{

// The configured wait in milliseconds.
int ToWaitMs(int nWaitSeconds)
{
    if (nWaitSeconds < 0)
        return 0;
    // Waits above a day are a broken setting; keep the product inside an int.
    return (nWaitSeconds > 86400 ? 86400 : nWaitSeconds) * 1000;
}

} // namespace

std::string BuildGetRequest(const std::string& strPath, const std::string& strHost,
                            const std::string& strExtraHeaders)
{
    return "GET " + strPath + " HTTP/1.1\r\nAccept: */*\r\nUser-Agent: ZORQ\r\nHost: " + strHost +
           "\r\n" + strExtraHeaders + "Connection: Keep-Alive\r\n\r\n";
}

std::string BuildDigestRequest(const std::string& strPath, const std::string& strHost,
                               const std::string& strAuthorization)
{
    return "GET " + strPath + " HTTP/1.1\r\nAccept: */*\r\nUser-Agent: ZORQ\r\nHost: " + strHost +
           "\r\nConnection: Keep-Alive\r\n" + strAuthorization + "\r\n";
}

CMyHttp::~CMyHttp()
{
    Close();
}

bool CMyHttp::Connect(const char* pszHost, std::uint16_t nPort, int nWaitSeconds, bool bTls)
{
    if (IsConnected())
        Close();
    CLockGuard guard(m_csLock);
    m_strHost = pszHost ? pszHost : "";
    m_nPort = nPort;
    m_nTls = bTls ? 1 : 0;
    if (m_nTls != 0)
    {
        m_secureSock.m_nTls = 1;
        m_secureSock.Open(m_strHost.c_str(), nPort, ToWaitMs(nWaitSeconds));
        return IsConnected();
    }
    m_hSocket = ConnectTcpWithTimeout(m_strHost.c_str(), nPort, ToWaitMs(nWaitSeconds));
    if (m_hSocket == INVALID_SOCKET)
        return false;
    // Sends block until taken; every receive waits by poll first, so reads never block.
    platform::SocketSetNonBlocking(m_hSocket, false);
    m_reader.Attach(m_hSocket);
    return true;
}

void CMyHttp::Close()
{
    CLockGuard guard(m_csLock);
    if (m_nTls != 0)
    {
        m_secureSock.Shutdown();
        if (m_secureSock.m_hSocket != INVALID_SOCKET)
        {
            platform::SocketClose(m_secureSock.m_hSocket);
            m_secureSock.m_hSocket = INVALID_SOCKET;
        }
    }
    else if (m_hSocket != INVALID_SOCKET)
    {
        m_reader.Detach();
        platform::SocketClose(m_hSocket);
        m_hSocket = INVALID_SOCKET;
    }
    m_nTls = 0;
}

bool CMyHttp::IsConnected()
{
    if (m_nTls != 0)
        return m_secureSock.IsOpen();
    return m_hSocket != INVALID_SOCKET;
}

int CMyHttp::Send(const char* pData, int nLength)
{
    if (!IsConnected())
        return -1;
    if (m_nTls != 0)
    {
        if (m_secureSock.m_hSocket == INVALID_SOCKET ||
            (m_secureSock.m_nTls != 0 &&
             (m_secureSock.m_pSsl == nullptr || m_secureSock.m_pCtx == nullptr)))
            return 0;
        return m_secureSock.Write(pData, nLength);
    }
    return platform::SocketSend(m_hSocket, pData, nLength);
}

bool CMyHttp::Exchange(const std::string& strRequest, std::string& strAnswer, int nWaitSeconds,
                       bool* pbSent)
{
    int length = static_cast<int>(strRequest.size());
    *pbSent = Send(strRequest.data(), length) == length;
    if (!*pbSent)
        return false;
    strAnswer.clear();
    if (!IsConnected())
        return true;
    CReceiveDeadline deadline(nWaitSeconds, m_nMaxBody);
    if (m_nTls != 0)
    {
        CSecureStream stream(m_secureSock);
        return ReceiveHttpAnswer(stream, strAnswer, deadline);
    }
    return ReceiveHttpAnswer(m_reader, strAnswer, deadline);
}

bool CMyHttp::Get(const char* pszPath, std::string& strAnswer, int nWaitSeconds,
                  const std::string* pstrExtraHeaders)
{
    CLockGuard guard(m_csLock);
    std::string request = BuildGetRequest(pszPath ? pszPath : "", m_strHost,
                                          pstrExtraHeaders ? *pstrExtraHeaders : std::string());
    bool bSent = false;
    return Exchange(request, strAnswer, nWaitSeconds, &bSent);
}
