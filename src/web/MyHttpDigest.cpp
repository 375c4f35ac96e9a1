#include <chrono>
#include <thread>

#include "web/DigestAuth.h"
#include "web/MyHttp.h"

bool CMyHttp::GetDigest(const char* pszPath, const std::string& strUser,
                        const std::string& strPassword, std::string& strAnswer, int nWaitSeconds)
{
    if (!IsConnected())
        return false;
    CLockGuard guard(m_csLock);
    std::string path = pszPath ? pszPath : "";
    DigestParams params;
    std::string authorization;
    bool bRetryLeft = true;
    for (;;)
    {
        std::string request = BuildDigestRequest(path, m_strHost, authorization);
        bool bSent = false;
        if (!Exchange(request, strAnswer, nWaitSeconds, &bSent))
            return false;
        if (!ParseDigestChallenge(strAnswer, params))
            return true;
        // A second challenge: the recorder rejected the computed credentials.
        if (!bRetryLeft)
            return false;
        bRetryLeft = false;
        authorization = BuildDigestAuthHeader(params, "GET", strUser, strPassword, path);
        bool bTls = m_nTls != 0;
        Close();
        // Lets the recorder release the closed connection before the next one.
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::string host = m_strHost;
        if (!Connect(host.c_str(), static_cast<std::uint16_t>(m_nPort), nWaitSeconds, bTls))
            return false;
    }
}
