#include <gtest/gtest.h>

#include "app/KelmoraApp.h"
#include "app/Paths.h"
#include "platform/File.h"
#include "support/TempDir.h"

TEST(KelmoraApp, StartUpCreatesTheDataFolderAndLoadsFromIt)
{
    CTempDir dir;
    std::string data = dir.File("site/Xml");
    {
        CKelmoraApp app;
        app.InitInstance(data);
        EXPECT_TRUE(platform::IsDirectory(data));
        EXPECT_EQ(app.GetSettingsFilePath(), data + "/AppSettings.xml");
        EXPECT_EQ(app.GetTrainListFilePath(), data + "/CheckTrains2.xml");
        EXPECT_EQ(app.m_settings.GetFilePath(), data + "/AppSettings.xml");
        // The module folder is the executable's, with its trailing separator.
        EXPECT_EQ(GetModuleFolder(), GetFolderOfFile(platform::GetModuleFilePath()));
        EXPECT_EQ(GetModuleFolder().back(), '/');
    }
}

TEST(KelmoraApp, DefaultDataFolderIsXmlBesideTheExecutable)
{
    CKelmoraApp app;
    app.InitInstance();
    EXPECT_EQ(app.GetDataFolder(), GetXmlFolder());
    EXPECT_EQ(app.GetSettingsFilePath(), GetSettingsFilePath());
    EXPECT_TRUE(platform::IsDirectory(GetXmlFolder()));
    app.m_settings.SetAutoSave(false); // leave the build folder's settings alone
}
