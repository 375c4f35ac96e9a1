#include <gtest/gtest.h>

#include "app/Paths.h"
#include "platform/File.h"
#include "support/TempDir.h"

TEST(Paths, FolderOfFile)
{
    struct Case
    {
        std::string path;
        std::string folder;
    } cases[] = {
        {"/opt/kelmora/kelmora", "/opt/kelmora/"},
        {"/kelmora", "/"},
        {"kelmora", ""},
        {"bin/kelmora", "bin/"}, // a relative folder stays relative
        {"/a/b.c/d.e", "/a/b.c/"},
        {"/a/b/", "/a/b/"},
        {"/" + std::string(255, 'n') + ".ext", "/"},
        {"/" + std::string(256, 'n'), ""},          // file name too long
        {"/" + std::string(300, 'd') + "/app", ""}, // folder too long
        {"/a/app." + std::string(256, 'e'), ""},    // extension too long
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetFolderOfFile(c.path), c.folder) << c.path.substr(0, 40);
}

TEST(Paths, MakeFilePathAndTheDataFiles)
{
    EXPECT_EQ(MakeFilePath("", "a.xml"), "a.xml");
    EXPECT_EQ(MakeFilePath("/x/", "a.xml"), "/x/a.xml");
    EXPECT_EQ(MakeFilePath("/x", "a.xml"), "/x/a.xml");

    std::string saved = GetModuleFolder();
    SetModuleFolder("/opt/kelmora/");
    EXPECT_EQ(GetXmlFolder(), "/opt/kelmora/Xml");
    EXPECT_EQ(GetSettingsFilePath(), "/opt/kelmora/Xml/AppSettings.xml");
    EXPECT_EQ(GetTrainListFilePath(), "/opt/kelmora/Xml/CheckTrains2.xml");
    // An executable in the root folder.
    SetModuleFolder(GetFolderOfFile("/app"));
    EXPECT_EQ(GetSettingsFilePath(), "/Xml/AppSettings.xml");
    // Without a module folder everything is relative to the current folder.
    SetModuleFolder("");
    EXPECT_EQ(GetSettingsFilePath(), "Xml/AppSettings.xml");
    SetModuleFolder(saved);
}

TEST(Paths, CreateFolderPathMakesEveryMissingFolder)
{
    CTempDir dir;
    std::string deep = dir.File("a/b/Xml");
    EXPECT_TRUE(CreateFolderPath(deep));
    EXPECT_TRUE(platform::IsDirectory(deep));
    // The last folder exists now: its creation is what the result reports.
    EXPECT_FALSE(CreateFolderPath(deep));
    // A trailing separator: the folder is made before it.
    CreateFolderPath(dir.File("a/b/c/"));
    EXPECT_TRUE(platform::IsDirectory(dir.File("a/b/c")));

    // Longer than the working buffer: refused whole, nothing is made on the way.
    std::string tooLong = dir.Path();
    while (tooLong.size() <= kMaxFolderPath)
        tooLong += "/p";
    EXPECT_FALSE(CreateFolderPath(tooLong));
    EXPECT_FALSE(platform::PathExists(dir.File("p")));
}
