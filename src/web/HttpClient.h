// One GET request to one recorder over a fresh connection, with the configured address,
// credentials, authentication mode and transport.
#pragma once

#include <cstdint>
#include <string>

#include "web/HttpAuth.h"

class CHttpClient
{
public:
    CHttpClient(const std::string& strAddress, std::uint16_t nPort, const std::string& strUser,
                const std::string& strPassword, int nAuthMode = HTTP_AUTH_QUERY, bool bTls = false);

    // False exactly when the connection failed to open. True says nothing about the
    // exchange: the caller judges the answer (status line, header and body; empty when
    // nothing complete arrived).
    bool Get(const char* pszPath, std::string& strAnswer, int nWaitSeconds);

    const std::string& GetAddress() const { return m_strAddress; }
    std::uint16_t GetPort() const { return m_nPort; }
    int GetAuthMode() const { return m_nAuthMode; }
    bool GetTls() const { return m_bTls; }

private:
    std::string m_strAddress;
    std::uint16_t m_nPort;
    std::string m_strUser;
    std::string m_strPassword;
    int m_nAuthMode;
    bool m_bTls;
};
