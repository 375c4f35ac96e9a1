#include "settings/LocalAppSettings.h"

using namespace settingkeys;

std::string CLocalAppSettings::GetVornAddress()
{
    return GetString(0, kVornAddress, kDefaultAddress);
}
bool CLocalAppSettings::SetVornAddress(const std::string& strValue)
{
    return SetString(0, kVornAddress, strValue);
}
std::string CLocalAppSettings::GetVornUser()
{
    return GetString(0, kVornUser, kDefaultUser);
}
bool CLocalAppSettings::SetVornUser(const std::string& strValue)
{
    return SetString(0, kVornUser, strValue);
}
std::string CLocalAppSettings::GetVornPassword()
{
    return GetString(0, kVornPassword, kDefaultPassword);
}
bool CLocalAppSettings::SetVornPassword(const std::string& strValue)
{
    return SetString(0, kVornPassword, strValue);
}
