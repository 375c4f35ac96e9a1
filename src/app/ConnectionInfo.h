// What the main dialog's four fields hold at one moment.
#pragma once

#include <cstdint>
#include <string>

struct ConnectionInfo
{
    std::string m_strAddress; // as typed: a dotted IPv4 address or a host name
    std::int32_t m_nPort = 0; // the port text converted like atol; 0 when empty
    std::string m_strUser;
    std::string m_strPassword;
};

// The raw texts of the four fields, as a dialog or a command line supplies them.
class IConnectionFields
{
public:
    virtual ~IConnectionFields() = default;
    virtual std::string GetAddressText() const = 0;
    virtual std::string GetPortText() const = 0;
    virtual std::string GetUserText() const = 0;
    virtual std::string GetPasswordText() const = 0;
};

// Reads the four fields; changes nothing.
ConnectionInfo GetConnectionInfo(const IConnectionFields& fields);
