#include <chrono>
#include <gtest/gtest.h>
#include <string>

#include "xml/XmlParser.h"

namespace
{

// The tree as text: name, [attributes], {text}, (children), built without recursion.
std::string Dump(const XmlNode* pRoot)
{
    std::string out;
    const XmlNode* n = pRoot;
    while (n)
    {
        out += n->name ? n->name : "?";
        for (const XmlAttribute& a : n->attributes)
            out += std::string("[") + a.name + "=" + a.value + "]";
        if (*n->text)
            out += std::string("{") + n->text + "}";
        if (n->child)
        {
            out += "(";
            n = n->child;
            continue;
        }
        while (n)
        {
            if (n->ordered)
            {
                out += ",";
                n = n->ordered;
                break;
            }
            n = n->parent;
            if (n)
                out += ")";
        }
    }
    return out;
}

struct ParseResult
{
    std::string error;
    std::string tree; // "" when no root element was opened
    bool standalone = false;
};

ParseResult Parse(std::string text)
{
    text.push_back('\0');
    XmlRoot* pRoot = XmlParseText(&text[0], text.size() - 1);
    ParseResult r;
    r.error = pRoot->error;
    if (pRoot->name)
        r.tree = Dump(pRoot);
    r.standalone = pRoot->standalone;
    XmlFreeTree(pRoot);
    return r;
}

struct Case
{
    const char* input;
    const char* tree;
    const char* error; // "" for a clean parse; otherwise the message after the line prefix
};

const Case kCases[] = {
    // Elements, attributes and text.
    {"<a>x</a>", "a{x}", ""},
    {"<a>x</a>\n", "a{x}", ""},
    {"<a/>", "a", ""},
    {"<a>x<b/>y<c>z</c>w</a>", "a{xyw}(b,c{z})", ""},
    {"<a x=\"1\" y = '2' z w='3'/>", "a[x=1][y=2][z=][w=3]", ""},
    {"<a x='1'\n>t</a >", "a[x=1]{t}", ""},
    {"  \xEF\xBB\xBFjunk<a>1</a>tail", "a{1}", ""},
    {"<\xB0\xA1 \xB3\xAA='\xB4\xD9'>\xB6\xF3</\xB0\xA1>", "\xB0\xA1[\xB3\xAA=\xB4\xD9]{\xB6\xF3}",
     ""},
    // References and line ends.
    {"<a>&lt;&#65;&#x42;&unknown;</a>", "a{<AB&unknown;}", ""},
    {"<a>&amp;lt; &quot;&apos;&gt;</a>", "a{&lt; \"'>}", ""},
    {"<a>&#xAC00;&#0;&#65&#x;&#X41;</a>", "a{\xEA\xB0\x80&#0;&#65&#x;&#X41;}", ""},
    {"<a>&#x10FFFF;&#x7FFFFFFF;</a>", "a{\xF4\x8F\xBF\xBF\xFD\xBF\xBF\xBF\xBF\xBF}", ""},
    {"<a>x<![CDATA[&lt;]]>y</a>", "a{x&lt;y}", ""},
    {"<a>1\r\n2\r3</a>", "a{1\n2\n3}", ""},
    {"<a v='1\r\n2\t3&#10;4'/>", "a[v=1 2 3\n4]", ""},
    // Comments, instructions, document types.
    {"<?xml version='1.0'?><!-- c --><a><!-- d -->x</a><!-- e -->", "a{x}", ""},
    {"<!DOCTYPE a><a/>", "a", ""},
    {"<!DOCTYPE a [<!ENTITY % p 'in'><!ENTITY e 'v%p;&#65;&lt;'>]><a>&e;</a>", "a{vinA<}", ""},
    {"<!DOCTYPE a [<!ENTITY e '&f;'><!ENTITY f 'F'>]><a>&e;</a>", "a{F}", ""},
    {"<!DOCTYPE a [<!ENTITY x SYSTEM 'x.ent'><!ENTITY e 'E'>]><a>&x;&e;</a>", "a{&x;E}", ""},
    {"<!DOCTYPE a [<!ENTITY e 'first'><!ENTITY e 'second'>]><a>&e;</a>", "a{first}", ""},
    {"<!DOCTYPE a [%p; <!ENTITY e 'v'>]><a>&e;</a>", "a{&e;}", ""},
    {"<?xml version='1.0' standalone='yes'?><!DOCTYPE a [%p; <!ENTITY e 'v'>]><a>&e;</a>", "a{v}",
     ""},
    {"<!DOCTYPE a [<!ATTLIST a t NMTOKENS #IMPLIED c CDATA ' d ' n (x|y) 'x'>]>"
     "<a t='  x\t\n y  ' c=' p\tq ' u='r\ns'/>",
     "a[t=x y][c= p q ][u=r s]", ""},
    // Errors.
    {"<a>x</a", "a{x}", "missing >"},
    {"<a><b></a>", "a(b)", "unexpected closing tag </a>"},
    {"<a></b>", "a", "unexpected closing tag </b>"},
    {"</a>", "", "unexpected closing tag </a>"},
    {"<a>1</a><b/>", "a{1}", "markup outside of root element"},
    {"", "", "root tag missing"},
    {"no markup", "", "root tag missing"},
    {"<!-- c -->", "", "root tag missing"},
    {"<a>", "a", "unclosed tag <a>"},
    {"<a><b>text", "a(b)", "unclosed tag <b>"},
    {"<a x='1>", "", "missing '"},
    {"<a x=\"1>", "", "missing \""},
    {"<a x/y>", "", "missing >"},
    {"<a><!-- x -- y --></a>", "a", "unclosed <!--"},
    {"<a><![CDATA[x</a>", "a", "unclosed <![CDATA["},
    {"<!DOCTYPE a", "", "unclosed <!DOCTYPE"},
    {"<!DOCTYPE a [ <!ENTITY e 'v'>", "", "unclosed <!DOCTYPE"},
    {"<?xml version='1.0'", "", "unclosed <?"},
    {"<a>< b/></a>", "a", "unexpected <"},
    {"<a><!ELEMENT a ANY></a>", "a", "unexpected <"},
    {"<!DOCTYPE a [<!ENTITY e \"&e;\">]><a/>", "", "circular entity declaration &e;"},
    {"<!DOCTYPE a [<!ENTITY a '&b;'><!ENTITY b 'x&a;'>]><a/>", "",
     "circular entity declaration &b;"},
    {"<!DOCTYPE a [<!ATTLIST]><a/>", "", "unclosed <!ATTLIST"},
    {"<!DOCTYPE a [<!ATTLIST a x]><a/>", "", "malformed <!ATTLIST"},
    {"<!DOCTYPE a [<!ATTLIST a x CDATA bad>]><a/>", "", "malformed <!ATTLIST"},
    {"<!DOCTYPE a [<!ATTLIST a x (p|q '1'>]><a/>", "", "malformed <!ATTLIST"},
};

TEST(XmlParser, CasesGiveTheirTreeAndError)
{
    for (const Case& c : kCases)
    {
        ParseResult r = Parse(c.input);
        std::string strExpected =
            *c.error ? std::string("[error near line 1]: ") + c.error : std::string();
        EXPECT_EQ(r.error, strExpected) << c.input;
        EXPECT_EQ(r.tree, c.tree) << c.input;
    }
}

TEST(XmlParser, StandaloneDeclarationIsRecognised)
{
    EXPECT_TRUE(Parse("<?xml version=\"1.0\" standalone = \"yes\"?><a/>").standalone);
    EXPECT_FALSE(Parse("<?xml version=\"1.0\" standalone=\"no\"?><a/>").standalone);
    EXPECT_FALSE(Parse("<?xmlx standalone='yes'?><a/>").standalone);
}

TEST(XmlParser, ErrorLineCountsLineFeedsBeforeTheConstruct)
{
    EXPECT_EQ(Parse("<a>\r\n\n<b>\n</c></a>").error,
              "[error near line 4]: unexpected closing tag </c>");
    EXPECT_EQ(Parse("<a>\n<b>\n\n").error, "[error near line 2]: unclosed tag <b>");
    EXPECT_EQ(Parse("<a>\n\n<b x='1></a>").error, "[error near line 3]: missing '");
    // The line feed the start tag's name ended at was overwritten; those between attributes
    // still count.
    EXPECT_EQ(Parse("<a\nx='1'\n y='2'\n>\n</b></a>").error,
              "[error near line 4]: unexpected closing tag </b>");
}

TEST(XmlParser, ErrorTextIsCutAt127Bytes)
{
    std::string strName(300, 'n');
    ParseResult r = Parse("<a></" + strName + ">");
    ASSERT_EQ(r.error.size(), kXmlMaxErrorLength);
    EXPECT_EQ(
        r.error,
        ("[error near line 1]: unexpected closing tag </" + strName).substr(0, kXmlMaxErrorLength));
}

std::string Utf16(const std::string& ascii, bool bBigEndian)
{
    std::string out = bBigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : ascii)
    {
        if (bBigEndian)
            out += std::string(1, '\0') + c;
        else
            out += std::string(1, c) + '\0';
    }
    return out;
}

TEST(XmlParser, Utf16InputIsConvertedToUtf8)
{
    EXPECT_EQ(Parse(Utf16("<a/>", false)).tree, "a");
    EXPECT_EQ(Parse(Utf16("<a>x</a>", true)).tree, "a{x}");
    // A surrogate pair (U+1F600) and a Hangul syllable (U+AC00), little-endian, odd byte at end.
    std::string text = Utf16("<a>", false) + std::string("\x3D\xD8\x00\xDE\x00\xAC", 6) +
                       Utf16("</a>", false).substr(2) + "!";
    EXPECT_EQ(Parse(text).tree, "a{\xF0\x9F\x98\x80\xEA\xB0\x80}");
    EXPECT_EQ(Parse("\xFF\xFE").error, "[error near line 1]: root tag missing");
    EXPECT_EQ(Parse("\xFE").error, "[error near line 1]: root tag missing");
}

std::string Nested(int nDepth)
{
    std::string text;
    for (int i = 0; i < nDepth; ++i)
        text += "<e>";
    for (int i = 0; i < nDepth; ++i)
        text += "</e>";
    return text;
}

TEST(XmlParser, NestingIsCappedAtTheLimit)
{
    EXPECT_EQ(Parse(Nested(kXmlMaxDepth)).error, "");
    ParseResult r = Parse(Nested(kXmlMaxDepth + 1));
    EXPECT_EQ(r.error, "[error near line 1]: elements nested deeper than 1000 levels");
    auto start = std::chrono::steady_clock::now();
    EXPECT_NE(Parse(Nested(100000)).error, "");
    // Generous bound: a per-level cost would take far longer than this.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(XmlParser, LongSiblingRunsParseAndFreeWithoutRecursion)
{
    std::string text = "<log>";
    for (int i = 0; i < 200000; ++i)
        text += "<i>x</i>";
    text += "</log>";
    text.push_back('\0');
    XmlRoot* pRoot = XmlParseText(&text[0], text.size() - 1);
    EXPECT_EQ(pRoot->error, "");
    size_t n = 0;
    for (const XmlNode* p = pRoot->child; p; p = p->ordered)
        ++n;
    EXPECT_EQ(n, 200000u);
    XmlFreeTree(pRoot);
}

TEST(XmlParser, EntityExpansionIsCapped)
{
    const std::string strExpected =
        "[error near line 1]: entity expansion beyond 8 MiB or 100 times the input";
    std::string laughs = "<!DOCTYPE l [<!ENTITY l0 'lol'>";
    for (int i = 1; i <= 9; ++i)
    {
        laughs += "<!ENTITY l" + std::to_string(i) + " '";
        for (int k = 0; k < 10; ++k)
            laughs += "&l" + std::to_string(i - 1) + ";";
        laughs += "'>";
    }
    laughs += "]><l>&l9;</l>";
    std::string big(50000, 'x');
    std::string quadratic = "<!DOCTYPE q [<!ENTITY b '" + big + "'>]><q>";
    for (int i = 0; i < 50000; ++i)
        quadratic += "&b;";
    quadratic += "</q>";
    std::string inAttribute = "<!DOCTYPE q [<!ENTITY b '" + big + "'>]><q a='";
    for (int i = 0; i < 50000; ++i)
        inAttribute += "&b;";
    inAttribute += "'/>";
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Parse(laughs).error, strExpected);
    EXPECT_EQ(Parse(quadratic).error, strExpected);
    EXPECT_EQ(Parse(inAttribute).error, strExpected);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    // Below the cap expansion works as declared.
    EXPECT_EQ(Parse("<!DOCTYPE q [<!ENTITY b '" + big + "'>]><q>&b;&b;</q>").tree,
              "q{" + big + big + "}");
}

TEST(XmlParser, TextPointsIntoTheBufferUnlessItGrew)
{
    std::string text = "<a><b>plain</b><c>x&amp;y</c><d>p<e/>q</d></a>";
    text.push_back('\0');
    XmlRoot* pRoot = XmlParseText(&text[0], text.size() - 1);
    const XmlNode* b = pRoot->child;
    const XmlNode* c = b->ordered;
    const XmlNode* d = c->ordered;
    const char* pBegin = text.data();
    const char* pEnd = text.data() + text.size();
    EXPECT_TRUE(b->text >= pBegin && b->text < pEnd);
    EXPECT_TRUE(c->text >= pBegin && c->text < pEnd);
    EXPECT_STREQ(c->text, "x&y");
    EXPECT_TRUE(d->flags & kXmlTextOwned);
    EXPECT_STREQ(d->text, "pq");
    XmlFreeTree(pRoot);
}

} // namespace
