#include "app/KelmoraApp.h"

#include "app/Paths.h"
#include "platform/File.h"
#include "platform/Socket.h"

CKelmoraApp::CKelmoraApp() = default;

CKelmoraApp::~CKelmoraApp()
{
    platform::StopSockets();
}

void CKelmoraApp::InitInstance(const std::string& strDataFolder)
{
    platform::StartSockets();
    std::string strModulePath = platform::GetModuleFilePath();
    SetModuleFolder(strModulePath.empty() ? std::string() : GetFolderOfFile(strModulePath));
    m_strDataFolder = strDataFolder.empty() ? GetXmlFolder() : strDataFolder;
    if (!platform::PathExists(m_strDataFolder))
        CreateFolderPath(m_strDataFolder);
    m_settings.Load(GetSettingsFilePath());
}

std::string CKelmoraApp::GetSettingsFilePath() const
{
    return MakeFilePath(m_strDataFolder, "AppSettings.xml");
}

std::string CKelmoraApp::GetTrainListFilePath() const
{
    return MakeFilePath(m_strDataFolder, "CheckTrains2.xml");
}
