#include <gtest/gtest.h>

#include <string>

#include "data/NameCase.h"
#include "data/Serializable.h"
#include "data/SerializationInfo.h"
#include "data/XmlSerialization.h"
#include "platform/Codepage.h"
#include "support/TempDir.h"
#include "xml/XmlParser.h"

namespace
{

// Parses the text and fills a node from its root element, as the loader does.
void BuildTree(const std::string& strText, CSerializationInfo& node)
{
    std::string buffer = strText;
    XmlRoot* pRoot = XmlParseText(&buffer[0], buffer.size());
    ASSERT_NE(pRoot->name, nullptr) << strText;
    XmlToSerializationInfo(*pRoot, node);
    XmlFreeTree(pRoot);
}

// Remembers what Deserialize saw: the root name and one value of it.
class CProbe : public CSerializable
{
public:
    std::string GetName() const override { return "Root"; }
    void Serialize(CSerializationInfo& info) const override { info.SetName(GetName()); }
    void Deserialize(const CSerializationInfo& info) override
    {
        ++m_nCalls;
        m_strRoot = info.GetName();
        m_strValue = info.GetValue("v");
    }

    int m_nCalls = 0;
    std::string m_strRoot;
    std::string m_strValue;
};

} // namespace

TEST(XmlUnescape, ReplacesOnlyTheFiveNamedReferences)
{
    struct Case
    {
        const char* input;
        const char* expected;
    } cases[] = {
        {"a&b", "a&b"},
        {"&lt;x&gt;", "<x>"},
        {"&#60;", "&#60;"},
        {"&AMP;", "&AMP;"},
        {"&quot;&apos;&amp;", "\"'&"},
        {"&amp;lt;", "&lt;"}, // one pass only
        {"&&lt;", "&<"},      // a second "&" writes the first one out
        {"x&a&b;y", "x&a&b;y"},
        {";&;", ";&;"},
        {"tail&lt", "tail&lt"},
        {"", ""},
        {"\xB0\xA1&gt;\xB0\xA1", "\xB0\xA1>\xB0\xA1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(XmlUnescape(c.input), c.expected) << c.input;
}

TEST(LowerCp949Name, MapsAsciiAndDoubleByteCapitalsButNeverTrailBytes)
{
    using platform::Utf8ToCp949;
    struct Case
    {
        std::string input;
        std::string expected;
    } cases[] = {
        {"SetNumber", "setnumber"},
        {"LTERAddress", "lteraddress"},
        {Utf8ToCp949("ＴＲＡＩＮ"), Utf8ToCp949("ｔｒａｉｎ")},
        {Utf8ToCp949("ΣΩΑ"), Utf8ToCp949("σωα")},
        {Utf8ToCp949("ПОРТЁ"), Utf8ToCp949("портё")},
        {Utf8ToCp949("ⅠⅣⅩ"), Utf8ToCp949("ⅰⅳⅹ")},
        {Utf8ToCp949("ÆÐŁØŒÞŊ"), Utf8ToCp949("æðłøœþŋ")},
        {Utf8ToCp949("열차ID"), Utf8ToCp949("열차id")},
        // Extended Hangul whose trail bytes are ASCII capitals: 0x81 0x41 and 0x8C 0x5A.
        {"\x81\x41Z\x8C\x5A", "\x81\x41z\x8C\x5A"},
        // A lead byte without a valid trail byte is a byte of its own.
        {"\x81-A\xFE", "\x81-a\xFE"},
        {"a\xFF"
         "B",
         "a\xFF"
         "b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LowerCp949Name(c.input), c.expected) << platform::Cp949ToUtf8(c.input);
}

TEST(XmlToSerializationInfo, LeavesBecomeValuesAndElementsWithChildrenBecomeNodes)
{
    CSerializationInfo root;
    BuildTree("<Root attr=\"x\">root text<SetNumber>A1</SetNumber>"
              "<Dup>first</Dup><dup>second</dup>"
              "<Num> 5000 </Num><Empty/><Twice>&amp;lt;b&amp;gt;</Twice>"
              "<Mixed>text<Inner>1</Inner></Mixed>"
              "<Group><a>1</a></Group>"
              "<Lines>a\r\nb</Lines></Root>",
              root);
    EXPECT_EQ(root.GetName(), "root");
    EXPECT_EQ(root.GetValue("setnumber"), "A1");
    EXPECT_EQ(root.FindValue("SetNumber"), -1); // lookups are byte for byte
    EXPECT_EQ(root.GetValue("SetNumber"), "");
    EXPECT_EQ(root.GetValue("dup"), "first");
    EXPECT_EQ(root.GetValue("num"), " 5000 ");
    EXPECT_EQ(root.GetIntValue("num"), 5000);
    EXPECT_EQ(root.FindValue("empty"), 4);
    EXPECT_EQ(root.GetValue("empty"), "");
    EXPECT_EQ(root.GetValue("twice"), "<b>"); // decoded by the parser and once more
    EXPECT_EQ(root.GetValue("lines"), "a\nb");
    EXPECT_EQ(root.FindValue("mixed"), -1);
    EXPECT_EQ(root.FindValue("attr"), -1);
    EXPECT_EQ(root.GetValues().size(), 7u);

    CSerializationInfo* pMixed = root.GetFirstChild();
    ASSERT_NE(pMixed, nullptr);
    EXPECT_EQ(pMixed->GetName(), "mixed");
    EXPECT_EQ(pMixed->GetValue("inner"), "1");
    EXPECT_EQ(pMixed->GetParent(), &root);
    CSerializationInfo* pGroup = pMixed->GetNext();
    ASSERT_NE(pGroup, nullptr);
    EXPECT_EQ(pGroup->GetName(), "group");
    EXPECT_EQ(pGroup->GetPrev(), pMixed);
    EXPECT_EQ(pGroup->GetParent(), &root);
    EXPECT_EQ(pGroup->GetNext(), nullptr);
}

TEST(SerializationInfo, ValuesAndChains)
{
    CSerializationInfo node;
    EXPECT_EQ(node.GetIntValue("n"), 0);
    EXPECT_EQ(node.FindValue("n"), -1);
    node.AddValue("n", "x12");
    node.AddValue("m", -2147483647 - 1);
    node.AddValue("n", "7");
    EXPECT_EQ(node.FindValue("m"), 1);
    EXPECT_EQ(node.GetValue("m"), "-2147483648");
    EXPECT_EQ(node.GetIntValue("n"), 0); // the first value counts, and it has no digits

    CSerializationInfo* pFirst = node.GetChild();
    EXPECT_EQ(node.GetChild(), pFirst);
    CSerializationInfo* pSecond = pFirst->AddSibling();
    // Appending from any node of the chain goes to its end.
    CSerializationInfo* pThird = pFirst->AddSibling();
    CSerializationInfo* pFourth = pSecond->AddSibling();
    EXPECT_EQ(pFirst->GetNext(), pSecond);
    EXPECT_EQ(pSecond->GetNext(), pThird);
    EXPECT_EQ(pThird->GetNext(), pFourth);
    EXPECT_EQ(pFourth->GetPrev(), pThird);
    EXPECT_EQ(pFourth->GetParent(), &node);
    EXPECT_TRUE(pFourth->GetName().empty());
    EXPECT_TRUE(pFourth->GetValues().empty());
    EXPECT_EQ(pFourth->GetFirstChild(), nullptr);
}

TEST(SerializationInfo, LongChainsAndDeepTreesAreBuiltAndFreedWithoutRecursion)
{
    // Recursion per sibling or per level would overflow the stack long before these sizes.
    {
        CSerializationInfo root;
        CSerializationInfo* pNode = root.GetChild();
        for (int i = 0; i < 200000; ++i)
            pNode = pNode->AddSibling();
        CSerializationInfo* pDeep = pNode;
        for (int i = 0; i < 100000; ++i)
            pDeep = pDeep->GetChild();
        // A chain of the root itself is owned by the root.
        root.AddSibling()->GetChild()->AddSibling();
    }
    {
        std::string text = "<r>";
        for (int i = 0; i < 50000; ++i)
            text += "<t><v>" + std::to_string(i) + "</v></t>";
        for (int i = 0; i < 990; ++i)
            text += "<d>";
        text += "<v>deep</v>";
        CSerializationInfo root;
        BuildTree(text, root); // cut inside the nesting: read as far as parsed
        int nCount = 0;
        const CSerializationInfo* pLast = nullptr;
        for (const CSerializationInfo* p = root.GetFirstChild(); p; p = p->GetNext())
        {
            pLast = p;
            ++nCount;
        }
        EXPECT_EQ(nCount, 50001);
        ASSERT_NE(pLast, nullptr);
        int nDepth = 1;
        while (pLast->GetFirstChild())
        {
            pLast = pLast->GetFirstChild();
            ++nDepth;
        }
        EXPECT_EQ(nDepth, 990);
        EXPECT_EQ(pLast->GetValue("v"), "deep");
    }
}

TEST(LoadXml, ResultsForTextsAndFiles)
{
    CTempDir dir;
    struct Case
    {
        const char* name;
        std::string content;
        bool ok;
        XmlLoadCode code;
        int calls;
        const char* value;
        bool parseError;
    } cases[] = {
        {"empty", "", false, XmlLoadCode::kNoRootElement, 0, "", true},
        {"comment", "<!-- c -->", false, XmlLoadCode::kNoRootElement, 0, "", true},
        {"declaration", "<?xml version=\"1.0\"?>\r\n", false, XmlLoadCode::kNoRootElement, 0, "",
         true},
        {"whole", "<?xml version=\"1.0\"?><Root><v>1</v></Root>", true, XmlLoadCode::kLoaded, 1,
         "1", false},
        {"cut", "<Root><v>2</v><w>3", true, XmlLoadCode::kLoaded, 1, "2", true},
        {"error", "<Root><v>4</v></x>", true, XmlLoadCode::kLoaded, 1, "4", true},
        {"zero", std::string("<Root><v>5</v></Root>\0<x>", 25), true, XmlLoadCode::kLoaded, 1, "5",
         false},
        {"other root", "<Other><v>6</v></Other>", true, XmlLoadCode::kLoaded, 1, "6", false},
    };
    for (const Case& c : cases)
    {
        for (bool bFile : {false, true})
        {
            CProbe probe;
            XmlLoadResult result;
            bool bOk;
            if (bFile)
            {
                std::string strPath = dir.File(std::string(c.name) + ".xml");
                ASSERT_TRUE(WriteFileBytes(strPath, c.content));
                bOk = LoadXmlFile(strPath, &probe, &result);
            }
            else
                bOk = LoadXmlText(c.content, &probe, &result);
            SCOPED_TRACE(std::string(c.name) + (bFile ? " (file)" : " (text)"));
            EXPECT_EQ(bOk, c.ok);
            EXPECT_EQ(result.Ok(), c.ok);
            EXPECT_EQ(result.code, c.code);
            EXPECT_EQ(probe.m_nCalls, c.calls);
            EXPECT_EQ(probe.m_strValue, c.value);
            EXPECT_EQ(!result.strParseError.empty(), c.parseError);
        }
    }
    // Without an object the load still reports whether there was a root element.
    EXPECT_TRUE(LoadXmlText("<a/>", nullptr));
    EXPECT_FALSE(LoadXmlText("text only", nullptr));

    for (const std::string& strPath : {dir.File("missing.xml"), dir.Path()})
    {
        CProbe probe;
        XmlLoadResult result;
        EXPECT_FALSE(LoadXmlFile(strPath, &probe, &result)) << strPath;
        EXPECT_EQ(result.code, XmlLoadCode::kFileNotReadable) << strPath;
        EXPECT_EQ(probe.m_nCalls, 0);
    }
}
