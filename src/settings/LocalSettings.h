// The settings store: an ordered map of categories to ordered name -> text maps, guarded by
// one recursive lock and written whole to its file after every change.
#pragma once

#include <map>
#include <mutex>

#include "settings/ISettingManager.h"

class CLocalSettings : public ISettingManager
{
public:
    // Names compare case-sensitively in unsigned byte order (std::string's order).
    using NameMap = std::map<std::string, std::string>;
    using CategoryMap = std::map<int, NameMap>;

    CLocalSettings();
    ~CLocalSettings() override;
    CLocalSettings(const CLocalSettings&) = delete;
    CLocalSettings& operator=(const CLocalSettings&) = delete;

    std::int32_t GetInt(int nCategory, const std::string& strName, std::int32_t nDefault) override;
    std::int32_t GetLong(int nCategory, const std::string& strName, std::int32_t nDefault) override;
    std::uint32_t GetUInt(int nCategory, const std::string& strName,
                          std::uint32_t nDefault) override;
    float GetFloat(int nCategory, const std::string& strName, float fDefault) override;
    std::string GetString(int nCategory, const std::string& strName,
                          const std::string& strDefault) override;
    double GetDouble(int nCategory, const std::string& strName, double dDefault) override;
    bool SetInt(int nCategory, const std::string& strName, std::int32_t nValue) override;
    bool SetLong(int nCategory, const std::string& strName, std::int32_t nValue) override;
    bool SetUInt(int nCategory, const std::string& strName, std::uint32_t nValue) override;
    bool SetFloat(int nCategory, const std::string& strName, float fValue) override;
    bool SetString(int nCategory, const std::string& strName, const std::string& strValue) override;
    bool SetDouble(int nCategory, const std::string& strName, double dValue) override;

    // Replaces the whole content from the file and remembers its path.
    void Load(const std::string& strPath);
    // Writes the whole content to the file; false when it could not be written.
    bool Save(const std::string& strPath);

    // Auto-save is on from construction. A front end that must never touch the user's file
    // (the command line with its one-run overrides) turns it off.
    void SetAutoSave(bool bAutoSave);
    std::string GetFilePath();
    // A copy of the whole content, for listing.
    CategoryMap GetAll();

private:
    // The stored text, or the empty text when the category or name is absent.
    std::string Lookup(int nCategory, const std::string& strName);

    CategoryMap m_mapSettings;
    std::string m_strFilePath;
    std::recursive_mutex m_csLock;
    bool m_bAutoSave;
};
