#include <algorithm>
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "platform/File.h"
#include "support/TempDir.h"
#include "xml/XmlCfg.h"

namespace
{

// The names in a folder, sorted; shows that no temporary file was left behind.
std::vector<std::string> FolderEntries(const std::string& strPath)
{
    std::vector<std::string> names;
    if (DIR* pDir = ::opendir(strPath.c_str()))
    {
        while (const dirent* pEntry = ::readdir(pDir))
        {
            std::string strName = pEntry->d_name;
            if (strName != "." && strName != "..")
                names.push_back(strName);
        }
        ::closedir(pDir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct Entry
{
    const char* path;
    const char* data;
};

std::string Write(std::initializer_list<Entry> entries)
{
    CXmlCfg xml;
    for (const Entry& e : entries)
        xml.AddToken(e.path, e.data);
    std::string text = "not cleared";
    EXPECT_TRUE(xml.ToText(text));
    return text;
}

TEST(XmlWriter, EntriesGiveTheirExactBytes)
{
    struct Case
    {
        std::initializer_list<Entry> entries;
        const char* expected;
    };
    const Case cases[] = {
        {{{"$Settings$", ""},
          {"$Settings$$Setting%1$", ""},
          {"$Settings$$Setting%1$$Name$", "TcpWaitSeconds"},
          {"$Settings$$Setting%1$$Value$", "5"}},
         "<Settings>\r\n\t<Setting>\r\n\t\t<Name>TcpWaitSeconds</Name>\r\n"
         "\t\t<Value>5</Value>\r\n\t</Setting>\r\n</Settings>\r\n"},
        {{}, ""},
        // Blanks are kept (the loader keeps them); CR, LF and tab runs at the ends are not.
        {{{"$A$", " 5 "}}, "<A> 5 </A>\r\n"},
        {{{"$A$", "\t\r\n5\n"}}, "<A>5</A>\r\n"},
        {{{"$A$", ""}, {"$A$$B$", "\t\r\n\t"}}, "<A>\r\n\t<B>\r\n\t</B>\r\n</A>\r\n"},
        {{{"$A$", "a<b&c\"'>"}}, "<A>a&lt;b&amp;c&quot;&apos;&gt;</A>\r\n"},
        // The same path twice: the second is written inside the first.
        {{{"$A$", ""}, {"$A$$B$", "x"}, {"$A$$B$", "y"}},
         "<A>\r\n\t<B>x\t\t<B>y</B>\r\n\t</B>\r\n</A>\r\n"},
        // Nesting compares the prefix without regard to case.
        {{{"$A$", ""}, {"$a$$B$", "1"}}, "<A>\r\n\t<B>1</B>\r\n</A>\r\n"},
        {{{"noDollar", "v"}}, "<>v</>\r\n"},
        // Repeated indexed elements come out under their plain name.
        {{{"$L$", ""}, {"$L$$I%1$", "1"}, {"$L$$I%2$", "2"}},
         "<L>\r\n\t<I>1</I>\r\n\t<I>2</I>\r\n</L>\r\n"},
        // Korean bytes pass unchanged.
        {{{"$K$", "\xC7\xD1\xB1\xDB"}}, "<K>\xC7\xD1\xB1\xDB</K>\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Write(c.entries), c.expected) << c.expected;
}

TEST(XmlWriter, WrittenTextLoadsBackToTheSameValues)
{
    CXmlCfg xml;
    xml.AddToken("$S$", "");
    xml.AddToken("$S$$V$", "a&b<c>\"d'");
    xml.AddToken("$S$$W$", "\xB0\xA1");
    std::string text;
    xml.ToText(text);
    CXmlCfg back;
    ASSERT_TRUE(back.LoadFromText(text));
    EXPECT_EQ(back.GetValue("$S$$V$"), "a&b<c>\"d'");
    EXPECT_EQ(back.GetValue("$S$$W$"), "\xB0\xA1");
}

class XmlSave : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_strPath = m_dir.File("doc.xml");
        ASSERT_TRUE(WriteFileBytes(m_strPath, "old content"));
        m_xml.AddToken("$A$", "new");
    }
    void TearDown() override { platform::FailNextReplaceAfterBytesForTest(-1); }

    CTempDir m_dir;
    std::string m_strPath;
    CXmlCfg m_xml;
};

TEST_F(XmlSave, WritesThePathOrTheRememberedPath)
{
    EXPECT_FALSE(m_xml.Save(""));
    EXPECT_TRUE(m_xml.Save(m_strPath));
    EXPECT_EQ(ReadFileOrEmpty(m_strPath), "<A>new</A>\r\n");
    m_xml.SetFilePath(m_dir.File("other.xml"));
    EXPECT_TRUE(m_xml.Save(""));
    EXPECT_EQ(ReadFileOrEmpty(m_dir.File("other.xml")), "<A>new</A>\r\n");
    CXmlCfg empty;
    EXPECT_TRUE(empty.Save(m_strPath));
    EXPECT_TRUE(platform::PathExists(m_strPath));
    EXPECT_EQ(ReadFileOrEmpty(m_strPath), "");
}

TEST_F(XmlSave, FailureMidwayLeavesTheOldFileWhole)
{
    platform::FailNextReplaceAfterBytesForTest(3);
    EXPECT_FALSE(m_xml.Save(m_strPath));
    EXPECT_EQ(ReadFileOrEmpty(m_strPath), "old content");
    EXPECT_EQ(FolderEntries(m_dir.Path()), std::vector<std::string>{"doc.xml"});
    // The next save works again.
    EXPECT_TRUE(m_xml.Save(m_strPath));
    EXPECT_EQ(ReadFileOrEmpty(m_strPath), "<A>new</A>\r\n");
}

TEST_F(XmlSave, MissingFolderFailsWithoutCreatingIt)
{
    EXPECT_FALSE(m_xml.Save(m_dir.File("missing/doc.xml")));
    EXPECT_FALSE(platform::PathExists(m_dir.File("missing")));
}

TEST_F(XmlSave, ReadOnlyFolderLeavesTheOldFileWhole)
{
    ASSERT_EQ(::chmod(m_dir.Path().c_str(), 0555), 0);
    bool bSaved;
    if (::geteuid() != 0)
        bSaved = m_xml.Save(m_strPath);
    else
    {
        // Root writes into read-only folders: save from a child that runs as "nobody".
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
        {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(2);
            ::_exit(m_xml.Save(m_strPath) ? 1 : 0);
        }
        int nStatus = 0;
        ASSERT_EQ(::waitpid(pid, &nStatus, 0), pid);
        ASSERT_TRUE(WIFEXITED(nStatus));
        ASSERT_NE(WEXITSTATUS(nStatus), 2) << "could not drop privileges";
        bSaved = WEXITSTATUS(nStatus) == 1;
    }
    ::chmod(m_dir.Path().c_str(), 0755);
    EXPECT_FALSE(bSaved);
    EXPECT_EQ(ReadFileOrEmpty(m_strPath), "old content");
    EXPECT_EQ(FolderEntries(m_dir.Path()), std::vector<std::string>{"doc.xml"});
}

} // namespace
