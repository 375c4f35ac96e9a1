// Reading and writing the settings file. Until the file format is in place the store
// keeps its values in memory only: Load remembers the path, Save writes nothing.
#include "settings/LocalSettings.h"

void CLocalSettings::Load(const std::string& strPath)
{
    std::lock_guard<std::recursive_mutex> lock(m_csLock);
    m_mapSettings.clear();
    m_strFilePath = strPath;
}

bool CLocalSettings::Save(const std::string& strPath)
{
    std::lock_guard<std::recursive_mutex> lock(m_csLock);
    (void)strPath;
    return false;
}
