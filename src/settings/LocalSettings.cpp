#include "settings/LocalSettings.h"

#include "platform/CrtNumbers.h"

CLocalSettings::CLocalSettings() : m_bAutoSave(true) {}

CLocalSettings::~CLocalSettings()
{
    std::lock_guard<std::recursive_mutex> lock(m_csLock);
    if (m_bAutoSave && !m_strFilePath.empty())
        Save(m_strFilePath);
}

std::string CLocalSettings::Lookup(int nCategory, const std::string& strName)
{
    std::lock_guard<std::recursive_mutex> lock(m_csLock);
    auto cat = m_mapSettings.find(nCategory);
    if (cat == m_mapSettings.end())
        return std::string();
    auto entry = cat->second.find(strName);
    if (entry == cat->second.end())
        return std::string();
    return entry->second;
}

std::int32_t CLocalSettings::GetInt(int nCategory, const std::string& strName,
                                    std::int32_t nDefault)
{
    std::string text = Lookup(nCategory, strName);
    return text.empty() ? nDefault : platform::CrtAtol(text.c_str());
}

std::int32_t CLocalSettings::GetLong(int nCategory, const std::string& strName,
                                     std::int32_t nDefault)
{
    return GetInt(nCategory, strName, nDefault);
}

std::uint32_t CLocalSettings::GetUInt(int nCategory, const std::string& strName,
                                      std::uint32_t nDefault)
{
    std::string text = Lookup(nCategory, strName);
    if (text.empty())
        return nDefault;
    return static_cast<std::uint32_t>(
        static_cast<std::uint64_t>(platform::CrtAtoi64(text.c_str())));
}

float CLocalSettings::GetFloat(int nCategory, const std::string& strName, float fDefault)
{
    std::string text = Lookup(nCategory, strName);
    return text.empty() ? fDefault : static_cast<float>(platform::CrtAtof(text.c_str()));
}

std::string CLocalSettings::GetString(int nCategory, const std::string& strName,
                                      const std::string& strDefault)
{
    std::string text = Lookup(nCategory, strName);
    return text.empty() ? strDefault : text;
}

double CLocalSettings::GetDouble(int nCategory, const std::string& strName, double dDefault)
{
    std::string text = Lookup(nCategory, strName);
    return text.empty() ? dDefault : platform::CrtAtof(text.c_str());
}

bool CLocalSettings::SetInt(int nCategory, const std::string& strName, std::int32_t nValue)
{
    return SetString(nCategory, strName, platform::FormatInt(nValue));
}

bool CLocalSettings::SetLong(int nCategory, const std::string& strName, std::int32_t nValue)
{
    return SetString(nCategory, strName, platform::FormatInt(nValue));
}

bool CLocalSettings::SetUInt(int nCategory, const std::string& strName, std::uint32_t nValue)
{
    return SetString(nCategory, strName, platform::FormatUInt(nValue));
}

bool CLocalSettings::SetFloat(int nCategory, const std::string& strName, float fValue)
{
    return SetString(nCategory, strName, platform::FormatG(static_cast<double>(fValue), 6));
}

bool CLocalSettings::SetDouble(int nCategory, const std::string& strName, double dValue)
{
    return SetString(nCategory, strName, platform::FormatG(dValue, 18));
}

bool CLocalSettings::SetString(int nCategory, const std::string& strName,
                               const std::string& strValue)
{
    std::lock_guard<std::recursive_mutex> lock(m_csLock);
    m_mapSettings[nCategory][strName] = strValue;
    if (!m_bAutoSave || m_strFilePath.empty())
        return false;
    return Save(m_strFilePath);
}

void CLocalSettings::SetAutoSave(bool bAutoSave)
{
    std::lock_guard<std::recursive_mutex> lock(m_csLock);
    m_bAutoSave = bAutoSave;
}

std::string CLocalSettings::GetFilePath()
{
    std::lock_guard<std::recursive_mutex> lock(m_csLock);
    return m_strFilePath;
}

CLocalSettings::CategoryMap CLocalSettings::GetAll()
{
    std::lock_guard<std::recursive_mutex> lock(m_csLock);
    return m_mapSettings;
}
