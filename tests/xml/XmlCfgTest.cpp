#include <gtest/gtest.h>

#include "xml/XmlCfg.h"
#include "xml/XmlPath.h"

namespace
{

CStrList Names(std::initializer_list<const char*> names)
{
    CStrList list;
    for (const char* p : names)
        list.Add(p);
    return list;
}

std::string Entries(const CXmlCfg& xml)
{
    std::string out;
    for (const CToken& t : xml.GetEntries())
        out += t.m_strName + "=" + t.m_strData + ";";
    return out;
}

const char* const kLogPage = "<System>\r\n"
                             "\t<Log>\r\n"
                             "\t\t<TotalPage>3</TotalPage>\r\n"
                             "\t\t<LogItem><Date>2026-01-02</Date><Time>10:00</Time>"
                             "<Content>Record Block</Content></LogItem>\r\n"
                             "\t\t<LogItem><Date>2026-01-03</Date></LogItem>\r\n"
                             "\t</Log>\r\n"
                             "</System>\r\n";

TEST(XmlCfg, LogPageIsAddressedByIndexedPaths)
{
    CXmlCfg xml;
    CStrList names = Names({"LogItem"});
    ASSERT_TRUE(xml.LoadFromText(kLogPage, &names));
    EXPECT_EQ(xml.GetValue("$System$$Log$$TotalPage$"), "3");
    EXPECT_EQ(xml.GetCount("$System$$Log$$LogItem$"), 2);
    std::string strItem = JoinPath("$System$$Log$", MakeIndexedPathStep("LogItem", 1));
    EXPECT_EQ(xml.GetValue(JoinPath(strItem, "Content")), "Record Block");
    EXPECT_EQ(xml.GetValue("$System$$Log$$LogItem%2$$Date$"), "2026-01-03");
    EXPECT_EQ(xml.GetValue("$System$$Log$$LogItem%2$$Time$"), "");
    EXPECT_EQ(xml.GetValue("$system$$Log$$TotalPage$"), ""); // paths are case-sensitive
    EXPECT_EQ(xml.GetValue("$System$$Log$"), "");            // only line breaks between children
    EXPECT_EQ(xml.GetCount("$System$$Log$$LogItem%1$"), 0);
    EXPECT_EQ(xml.GetCountKeys(), std::vector<std::string>{"$System$$Log$$LogItem$"});
    EXPECT_EQ(xml.GetParseError(), "");
    EXPECT_EQ(xml.GetEntries().size(), 9u);
    EXPECT_EQ(xml.GetEntries()[3].m_strName, "$System$$Log$$LogItem%1$");
}

TEST(XmlCfg, PathAndCountingRules)
{
    struct Case
    {
        const char* text;
        std::initializer_list<const char*> indexed;
        const char* entries;
    };
    const Case cases[] = {
        // Repeated unindexed names share one path; the list keeps all, the map the last.
        {"<a><b>1</b><b>2</b></a>", {}, "$a$=;$a$$b$=1;$a$$b$=2;"},
        // Same-path parents share the counter of their indexed children.
        {"<S><L><I>1</I><I>2</I></L><L><I>3</I></L></S>",
         {"I"},
         "$S$=;$S$$L$=;$S$$L$$I%1$=1;$S$$L$$I%2$=2;$S$$L$=;$S$$L$$I%3$=3;"},
        {"<S><S>x</S></S>", {"S"}, "$S%1$=;$S%1$$S%1$=x;"},
        // Only CR, LF and tab runs are trimmed; spaces stay.
        {"<a> 3 </a>", {}, "$a$= 3 ;"},
        {"<a>\r\n\t\t3\r\n</a>", {}, "$a$=3;"},
        {"<a>\t x \t</a>", {}, "$a$= x ;"},
        // Names are compared as they are.
        {"<a><B>1</B><b>2</b></a>", {"b"}, "$a$=;$a$$B$=1;$a$$b%1$=2;"},
        // After an error inside the root, what was built is kept.
        {"<a><b>1</b><c>2<d></a>", {}, "$a$=;$a$$b$=1;$a$$c$=2;$a$$c$$d$=;"},
    };
    for (const Case& c : cases)
    {
        CXmlCfg xml;
        CStrList names;
        for (const char* p : c.indexed)
            names.Add(p);
        EXPECT_TRUE(xml.LoadFromText(c.text, &names)) << c.text;
        EXPECT_EQ(Entries(xml), c.entries) << c.text;
    }
    CXmlCfg xml;
    ASSERT_TRUE(xml.LoadFromText("<a><b>1</b><b>2</b></a>"));
    EXPECT_EQ(xml.GetValue("$a$$b$"), "2");
    CStrList names = Names({"I"});
    ASSERT_TRUE(xml.LoadFromText("<S><L><I>1</I></L><L><I>3</I><I>4</I></L></S>", &names));
    EXPECT_EQ(xml.GetCount("$S$$L$$I$"), 3);
}

TEST(XmlCfg, BrokenDocumentKeepsWhatWasBuiltAndTheErrorText)
{
    CXmlCfg xml;
    ASSERT_TRUE(xml.LoadFromText("<a><b>1</b>\n<c>2</d></a>"));
    EXPECT_EQ(xml.GetValue("$a$$b$"), "1");
    EXPECT_EQ(xml.GetValue("$a$$c$"), "2");
    EXPECT_EQ(xml.GetParseError(), "[error near line 2]: unexpected closing tag </d>");
}

TEST(XmlCfg, LoadWithoutRootElementEmptiesTheDocument)
{
    CXmlCfg xml;
    xml.SetFilePath("keep.xml");
    ASSERT_TRUE(xml.LoadFromText("<a><b>1</b></a>"));
    for (const char* text : {"", "text only", "<!-- only a comment -->"})
    {
        EXPECT_FALSE(xml.LoadFromText(text)) << text;
        EXPECT_TRUE(xml.GetEntries().empty());
        EXPECT_EQ(xml.GetValue("$a$$b$"), "");
        EXPECT_EQ(xml.GetParseError(), "[error near line 1]: root tag missing");
    }
    EXPECT_EQ(xml.GetFilePath(), "keep.xml");
    // The text ends at its first zero byte.
    EXPECT_TRUE(xml.LoadFromText(std::string("<a>1</a>\0<b/>", 13)));
    EXPECT_EQ(xml.GetParseError(), "");
}

TEST(XmlCfg, AddTokenAppendsWithoutCounting)
{
    CXmlCfg xml;
    EXPECT_TRUE(xml.AddToken("$A$$B%1$", "x"));
    EXPECT_TRUE(xml.AddToken("$A$$B%1$", "y"));
    EXPECT_EQ(xml.GetValue("$A$$B%1$"), "y");
    EXPECT_EQ(xml.GetCount("$A$$B$"), 0);
    EXPECT_EQ(xml.GetEntries().size(), 2u);
}

} // namespace
