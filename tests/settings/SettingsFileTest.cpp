#include <gtest/gtest.h>

#include "platform/Codepage.h"
#include "platform/File.h"
#include "settings/LocalAppSettings.h"
#include "support/TempDir.h"

namespace
{

std::string SettingXml(const std::string& strCategory, const std::string& strName,
                       const std::string& strValue)
{
    return "\t<Setting>\r\n\t\t<Category>" + strCategory + "</Category>\r\n\t\t<Name>" + strName +
           "</Name>\r\n\t\t<Value>" + strValue + "</Value>\r\n\t</Setting>\r\n";
}

class SettingsFile : public ::testing::Test
{
protected:
    void TearDown() override { platform::FailNextReplaceAfterBytesForTest(-1); }

    CTempDir m_dir; // destroyed after the stores of a test, which save once more
    std::string m_strPath = m_dir.File("AppSettings.xml");
};

TEST_F(SettingsFile, LayoutIsSortedByCategoryThenNameAndNumberedThroughout)
{
    CLocalAppSettings settings;
    settings.Load(m_strPath);
    EXPECT_FALSE(platform::PathExists(m_strPath));
    EXPECT_TRUE(settings.SetLong(0, "VornPort", 8080));
    EXPECT_TRUE(settings.SetLong(0, "TcpWaitSeconds", 5));
    EXPECT_EQ(ReadFileOrEmpty(m_strPath),
              "<Settings>\r\n" + SettingXml("0", "TcpWaitSeconds", "5") +
                  SettingXml("0", "VornPort", "8080") + "</Settings>\r\n");
    // Byte order puts upper case first; categories ascend, negative ones included.
    EXPECT_TRUE(settings.SetString(2, "b", "2b"));
    EXPECT_TRUE(settings.SetString(-1, "z", "-1z"));
    EXPECT_TRUE(settings.SetString(0, "vornPort", "lower"));
    EXPECT_EQ(ReadFileOrEmpty(m_strPath), "<Settings>\r\n" + SettingXml("-1", "z", "-1z") +
                                              SettingXml("0", "TcpWaitSeconds", "5") +
                                              SettingXml("0", "VornPort", "8080") +
                                              SettingXml("0", "vornPort", "lower") +
                                              SettingXml("2", "b", "2b") + "</Settings>\r\n");
    CLocalSettings back;
    back.Load(m_strPath);
    EXPECT_EQ(back.GetAll(), settings.GetAll());
}

TEST_F(SettingsFile, ValuesSurviveARestart)
{
    const std::string strKorean = platform::Utf8ToCp949("\xEA\xB4\x80\xEB\xA6\xAC\xEC\x9E\x90");
    ASSERT_EQ(strKorean, "\xB0\xFC\xB8\xAE\xC0\xDA");
    {
        CLocalAppSettings settings;
        settings.Load(m_strPath);
        EXPECT_TRUE(settings.SetVornPassword("p&ss<w>rd\"'"));
        EXPECT_TRUE(settings.SetString(0, "Spaced", " pw "));
        EXPECT_TRUE(settings.SetVornAddress(" 10.0.0.1 "));
        EXPECT_TRUE(settings.SetVornUser(strKorean));
        EXPECT_TRUE(settings.SetDouble(3, "Ratio", 0.1));
    }
    std::string strFile = ReadFileOrEmpty(m_strPath);
    EXPECT_NE(strFile.find("<Value>p&amp;ss&lt;w&gt;rd&quot;&apos;</Value>"), std::string::npos);
    EXPECT_NE(strFile.find("<Value>" + strKorean + "</Value>"), std::string::npos);
    EXPECT_NE(strFile.find("<Value> 10.0.0.1 </Value>"), std::string::npos);
    CLocalAppSettings settings;
    settings.Load(m_strPath);
    EXPECT_EQ(settings.GetVornPassword(), "p&ss<w>rd\"'");
    // Leading and trailing blanks survive: a password is exactly what was typed.
    EXPECT_EQ(settings.GetVornAddress(), " 10.0.0.1 ");
    EXPECT_EQ(settings.GetString(0, "Spaced", ""), " pw ");
    EXPECT_EQ(settings.GetVornUser(), strKorean);
    EXPECT_EQ(settings.GetString(3, "Ratio", ""), "0.100000000000000006");
}

TEST_F(SettingsFile, HandWrittenSettingSurvivesSavesItWasNotWrittenBy)
{
    ASSERT_TRUE(WriteFileBytes(m_strPath, "<Settings>\n<Setting><Category>0</Category>"
                                          "<Name>TcpWaitSeconds</Name><Value>12</Value>"
                                          "</Setting>\n</Settings>\n"));
    {
        CLocalAppSettings settings;
        settings.Load(m_strPath);
        EXPECT_EQ(settings.GetLong(0, "TcpWaitSeconds", 5), 12);
        EXPECT_TRUE(settings.SetVornUser("operator"));
    }
    CLocalAppSettings settings;
    settings.Load(m_strPath);
    EXPECT_EQ(settings.GetLong(0, "TcpWaitSeconds", 5), 12);
    EXPECT_EQ(settings.GetVornUser(), "operator");
}

TEST_F(SettingsFile, UnusableFilesGiveAnEmptyStoreThatStillSaves)
{
    const std::string cases[] = {
        "",
        std::string("\0<Settings><Setting><Name>VornUser</Name><Value>x</Value></Setting>"
                    "</Settings>",
                    75),
        "no xml here",
        "<!-- only a comment -->",
    };
    for (const std::string& strContent : cases)
    {
        ASSERT_TRUE(WriteFileBytes(m_strPath, strContent));
        CLocalAppSettings settings;
        settings.Load(m_strPath);
        EXPECT_TRUE(settings.GetAll().empty()) << strContent;
        EXPECT_EQ(settings.GetFilePath(), m_strPath);
        EXPECT_EQ(settings.GetVornUser(), "admin");
    }
    // A store without values writes just the root element at exit.
    EXPECT_EQ(ReadFileOrEmpty(m_strPath), "<Settings>\r\n</Settings>\r\n");
    {
        // A folder in the file's place cannot be read (nor replaced by a save).
        ASSERT_TRUE(platform::CreateOneDirectory(m_dir.File("folder.xml")));
        CLocalSettings settings;
        settings.Load(m_dir.File("folder.xml"));
        EXPECT_TRUE(settings.GetAll().empty());
        EXPECT_EQ(settings.GetFilePath(), m_dir.File("folder.xml"));
        EXPECT_FALSE(settings.SetLong(0, "VornPort", 81));
        EXPECT_TRUE(platform::IsDirectory(m_dir.File("folder.xml")));
    }
    {
        CLocalSettings settings;
        settings.Load(m_dir.File("missing.xml"));
        EXPECT_TRUE(settings.GetAll().empty());
        EXPECT_TRUE(settings.SetLong(0, "VornPort", 81));
    }
    CLocalSettings settings;
    settings.Load(m_dir.File("missing.xml"));
    EXPECT_EQ(settings.GetLong(0, "VornPort", 8080), 81);
}

TEST_F(SettingsFile, ReadRulesForOddSettings)
{
    ASSERT_TRUE(WriteFileBytes(
        m_strPath, "<Settings>"
                   "<Setting><Category>abc</Category><Name>A</Name><Value>1</Value></Setting>"
                   "<Setting><Name>B</Name><Value>2</Value></Setting>"
                   "<Setting><Category>4</Category><Value>lost</Value></Setting>"
                   "<Setting><Category>4</Category><Name></Name><Value>lost</Value></Setting>"
                   "<Setting><Name>VornUser</Name><Value>first</Value></Setting>"
                   "<Setting><Name>VornUser</Name><Value>second</Value></Setting>"
                   "<Setting><Category>7</Category><Name>NoValue</Name></Setting>"
                   "<Setting><Name>Cut</Name><Value>kept</Value></Setting>"
                   "<Setting><Name>Broken</Name><Value>x</Vale></Setting>"
                   "<Setting><Name>After</Name><Value>gone</Value></Setting>"
                   "</Settings>"));
    CLocalAppSettings settings;
    settings.Load(m_strPath);
    CLocalSettings::CategoryMap expected = {
        {0, {{"A", "1"}, {"B", "2"}, {"Broken", "x"}, {"Cut", "kept"}, {"VornUser", "second"}}},
        {7, {{"NoValue", ""}}},
    };
    EXPECT_EQ(settings.GetAll(), expected);
    ASSERT_TRUE(settings.Save(m_strPath));
    std::string strFile = ReadFileOrEmpty(m_strPath);
    EXPECT_EQ(strFile.find("first"), std::string::npos);
    EXPECT_EQ(strFile.find("VornUser"), strFile.rfind("VornUser"));
    EXPECT_EQ(strFile.find("lost"), std::string::npos);
}

TEST_F(SettingsFile, FailedSaveKeepsTheValueAndTheOldFile)
{
    CLocalAppSettings settings;
    settings.Load(m_strPath);
    ASSERT_TRUE(settings.SetVornUser("before"));
    std::string strBefore = ReadFileOrEmpty(m_strPath);
    platform::FailNextReplaceAfterBytesForTest(10);
    EXPECT_FALSE(settings.SetVornUser("after"));
    EXPECT_EQ(settings.GetVornUser(), "after");
    EXPECT_EQ(ReadFileOrEmpty(m_strPath), strBefore);
    EXPECT_FALSE(settings.Save(""));
}

} // namespace
