#include "web/HttpClient.h"

#include "web/MyHttp.h"

CHttpClient::CHttpClient(const std::string& strAddress, std::uint16_t nPort,
                         const std::string& strUser, const std::string& strPassword, int nAuthMode,
                         bool bTls)
    : m_strAddress(strAddress), m_nPort(nPort), m_strUser(strUser), m_strPassword(strPassword),
      m_nAuthMode(nAuthMode), m_bTls(bTls)
{
}

bool CHttpClient::Get(const char* pszPath, std::string& strAnswer, int nWaitSeconds)
{
    CMyHttp http;
    if (!http.Connect(m_strAddress.c_str(), m_nPort, nWaitSeconds, m_bTls))
    {
        http.Close();
        return false;
    }
    std::string path = pszPath ? pszPath : "";
    if (m_nAuthMode == HTTP_AUTH_BASIC)
    {
        std::string header = BuildBasicAuthHeader(m_strUser, m_strPassword);
        if (http.IsConnected())
            http.Get(path.c_str(), strAnswer, nWaitSeconds, &header);
    }
    else if (m_nAuthMode == HTTP_AUTH_DIGEST)
        http.GetDigest(path.c_str(), m_strUser, m_strPassword, strAnswer, nWaitSeconds);
    else
    {
        if (!m_strUser.empty() || !m_strPassword.empty())
            path = AppendCredentialQuery(path, m_strUser, m_strPassword);
        if (http.IsConnected())
            http.Get(path.c_str(), strAnswer, nWaitSeconds);
    }
    // The outcome of the exchange is read from the answer, not passed on.
    http.Close();
    return true;
}
