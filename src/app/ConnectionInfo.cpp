#include "app/ConnectionInfo.h"

#include "platform/CrtNumbers.h"

ConnectionInfo GetConnectionInfo(const IConnectionFields& fields)
{
    ConnectionInfo info;
    info.m_strAddress = fields.GetAddressText();
    std::string strPort = fields.GetPortText();
    info.m_nPort = strPort.empty() ? 0 : platform::CrtAtol(strPort.c_str());
    info.m_strUser = fields.GetUserText();
    info.m_strPassword = fields.GetPasswordText();
    return info;
}
