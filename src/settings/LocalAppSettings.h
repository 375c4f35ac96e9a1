// The program's own settings: named accessors over category 0 of the store.
#pragma once

#include "settings/LocalSettings.h"

// Setting names and the defaults every reader uses.
namespace settingkeys
{
constexpr const char* kVornAddress = "VornAddress";
constexpr const char* kVornPort = "VornPort";
constexpr const char* kVornUser = "VornUser";
constexpr const char* kVornPassword = "VornPassword";
constexpr const char* kTcpWaitSeconds = "TcpWaitSeconds";
constexpr const char* kDefaultAddress = "127.0.0.1";
constexpr std::int32_t kDefaultPort = 8080;
constexpr const char* kDefaultUser = "admin";
constexpr const char* kDefaultPassword = "!wbnqzmtpxv38";
constexpr std::int32_t kDefaultWaitSeconds = 5;
} // namespace settingkeys

class CLocalAppSettings : public CLocalSettings
{
public:
    std::string GetVornAddress();
    bool SetVornAddress(const std::string& strValue);
    std::string GetVornUser();
    bool SetVornUser(const std::string& strValue);
    std::string GetVornPassword();
    bool SetVornPassword(const std::string& strValue);
};
