// Reading and writing the settings file "AppSettings.xml": one "Setting" element per value
// (Category, Name, Value), sorted by category and then by name.
#include "settings/LocalSettings.h"

#include <cstdint>
#include <fstream>
#include <vector>

#include "platform/CrtNumbers.h"
#include "platform/File.h"
#include "xml/XmlCfg.h"
#include "xml/XmlPath.h"

namespace
{

const char* const kRootName = "Settings";
const char* const kSettingName = "Setting";
// The file holds a handful of values; anything this large is not ours and is not read whole.
const std::int64_t kMaxFileLength = 64 * 1024 * 1024;

// The file's size in bytes, or -1 when it cannot be opened.
std::int64_t GetFileLength(const std::string& strPath)
{
    // A folder opens as a stream of unbounded length; it is not a file we can read.
    if (platform::IsDirectory(strPath))
        return -1;
    std::ifstream file(strPath, std::ios::binary | std::ios::ate);
    if (!file)
        return -1;
    std::streamoff nSize = file.tellg();
    return nSize < 0 ? -1 : static_cast<std::int64_t>(nSize);
}

// The first nCount bytes of the file; true only when exactly that many were read.
bool ReadFileBytes(const std::string& strPath, char* pBuffer, std::int64_t nCount)
{
    std::ifstream file(strPath, std::ios::binary);
    if (!file)
        return false;
    file.read(pBuffer, static_cast<std::streamsize>(nCount));
    return file.gcount() == static_cast<std::streamsize>(nCount);
}

// The whole file as text, ending at its first zero byte; false when empty or unreadable.
bool ReadTextFile(const std::string& strPath, std::string& strText)
{
    std::int64_t nLength = GetFileLength(strPath);
    if (nLength < 1 || nLength > kMaxFileLength)
        return false;
    std::vector<char> buffer(static_cast<size_t>(nLength) + 1, '\0');
    if (!ReadFileBytes(strPath, buffer.data(), nLength))
        return false;
    buffer[static_cast<size_t>(nLength)] = '\0';
    strText.assign(buffer.data());
    return true;
}

std::string SettingPath(int nIndex)
{
    return MakePathStep(kRootName) + MakeIndexedPathStep(kSettingName, nIndex);
}

} // namespace

void CLocalSettings::Load(const std::string& strPath)
{
    std::lock_guard<std::recursive_mutex> lock(m_csLock);
    m_mapSettings.clear();
    m_strFilePath = strPath;
    if (!platform::PathExists(strPath))
        return;
    CXmlCfg xml;
    xml.SetFilePath(strPath);
    std::string strText;
    if (!ReadTextFile(strPath, strText))
        return;
    CStrList indexedNames;
    indexedNames.Add(kSettingName);
    if (!xml.LoadFromText(strText, &indexedNames))
        return;
    int nCount = xml.GetCount(JoinPath(MakePathStep(kRootName), kSettingName));
    for (int i = 1; i <= nCount; ++i)
    {
        std::string strSetting = SettingPath(i);
        std::string strCategory = xml.GetValue(JoinPath(strSetting, "Category"));
        int nCategory = strCategory.empty() ? 0 : platform::CrtAtol(strCategory.c_str());
        std::string strName = xml.GetValue(JoinPath(strSetting, "Name"));
        if (strName.empty())
            continue;
        m_mapSettings[nCategory][strName] = xml.GetValue(JoinPath(strSetting, "Value"));
    }
}

bool CLocalSettings::Save(const std::string& strPath)
{
    std::lock_guard<std::recursive_mutex> lock(m_csLock);
    CXmlCfg xml;
    xml.AddToken(MakePathStep(kRootName), std::string());
    int n = 1;
    for (const auto& category : m_mapSettings)
    {
        for (const auto& setting : category.second)
        {
            // The numbering runs on across categories.
            std::string strSetting = SettingPath(n++);
            xml.AddToken(strSetting, std::string());
            xml.AddToken(JoinPath(strSetting, "Category"), IntToString(category.first));
            xml.AddToken(JoinPath(strSetting, "Name"), setting.first);
            xml.AddToken(JoinPath(strSetting, "Value"), setting.second);
        }
    }
    return xml.Save(strPath);
}
