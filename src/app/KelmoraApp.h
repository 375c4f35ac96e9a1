// The application object: owns the settings store and prepares the process.
#pragma once

#include <string>

#include "settings/LocalAppSettings.h"

class CKelmoraApp
{
public:
    CKelmoraApp();
    ~CKelmoraApp();
    CKelmoraApp(const CKelmoraApp&) = delete;
    CKelmoraApp& operator=(const CKelmoraApp&) = delete;

    // Start-up before the main window: socket layer, module folder, the "Xml" folder
    // (created when missing), settings loaded. strDataFolder, when not empty, replaces
    // the "Xml" folder beside the executable (the command line's --data-dir).
    void InitInstance(const std::string& strDataFolder = std::string());

    // The data folder in use: the "Xml" folder or the one given to InitInstance.
    const std::string& GetDataFolder() const { return m_strDataFolder; }
    // "AppSettings.xml" and "CheckTrains2.xml" in the data folder.
    std::string GetSettingsFilePath() const;
    std::string GetTrainListFilePath() const;

    CLocalAppSettings m_settings;

private:
    std::string m_strDataFolder;
};
