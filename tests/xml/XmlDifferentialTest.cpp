// Compares the parser with expat on generated well-formed documents without document types:
// the same elements in the same order, the same attributes and the same own text.
#include <expat.h>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "xml/XmlParser.h"

namespace
{

// One element as both parsers report it.
struct Element
{
    std::string name;
    int depth = 0;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string text;
    bool operator==(const Element& o) const
    {
        return name == o.name && depth == o.depth && attributes == o.attributes && text == o.text;
    }
};

std::ostream& operator<<(std::ostream& os, const Element& e)
{
    os << e.depth << ":" << e.name;
    for (const auto& a : e.attributes)
        os << " " << a.first << "=[" << a.second << "]";
    return os << " {" << e.text << "}";
}

std::vector<Element> OurElements(std::string text, std::string& strError)
{
    std::vector<Element> out;
    text.push_back('\0');
    XmlRoot* pRoot = XmlParseText(&text[0], text.size() - 1);
    strError = pRoot->error;
    int nDepth = 0;
    for (const XmlNode* p = pRoot->name ? pRoot : nullptr; p;)
    {
        Element e;
        e.name = p->name;
        e.depth = nDepth;
        for (const XmlAttribute& a : p->attributes)
            e.attributes.emplace_back(a.name, a.value);
        e.text.assign(p->text, p->textLength);
        out.push_back(e);
        if (p->child)
        {
            p = p->child;
            ++nDepth;
            continue;
        }
        while (p && !p->ordered)
        {
            p = p->parent;
            --nDepth;
        }
        if (p)
            p = p->ordered;
    }
    XmlFreeTree(pRoot);
    return out;
}

struct ExpatState
{
    std::vector<Element> elements;
    std::vector<size_t> open;
};

std::vector<Element> ExpatElements(const std::string& text, std::string& strError)
{
    ExpatState state;
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(
        parser,
        [](void* pUser, const XML_Char* pszName, const XML_Char** ppAttrs)
        {
            auto* s = static_cast<ExpatState*>(pUser);
            Element e;
            e.name = pszName;
            e.depth = static_cast<int>(s->open.size());
            for (size_t i = 0; ppAttrs[i]; i += 2)
                e.attributes.emplace_back(ppAttrs[i], ppAttrs[i + 1]);
            s->open.push_back(s->elements.size());
            s->elements.push_back(e);
        },
        [](void* pUser, const XML_Char*) { static_cast<ExpatState*>(pUser)->open.pop_back(); });
    XML_SetCharacterDataHandler(parser,
                                [](void* pUser, const XML_Char* s, int nLen)
                                {
                                    auto* pState = static_cast<ExpatState*>(pUser);
                                    if (!pState->open.empty())
                                        pState->elements[pState->open.back()].text.append(
                                            s, static_cast<size_t>(nLen));
                                });
    if (XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1) != XML_STATUS_OK)
        strError = XML_ErrorString(XML_GetErrorCode(parser));
    XML_ParserFree(parser);
    return state.elements;
}

// Generates well-formed documents from a fixed seed.
class CGenerator
{
public:
    explicit CGenerator(unsigned nSeed) : m_rng(nSeed) {}

    std::string Document()
    {
        std::string out;
        if (Chance(30))
            out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
        if (Chance(30))
            out += "<!-- lead -->\n";
        Element(out, 0);
        out += Chance(50) ? "\r\n" : "";
        return out;
    }

private:
    bool Chance(int nPercent) { return Pick(100) < nPercent; }
    int Pick(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }

    std::string Name()
    {
        static const char* const kNames[] = {"System", "Log",   "LogItem", "Date",        "a",
                                             "b_1",    "x.y-z", "ns:tag",  "\xED\x95\x9C"};
        return kNames[Pick(9)];
    }

    std::string Text()
    {
        static const char* const kPieces[] = {
            "plain",  " ",        "\t",        "\r\n",         "\n",           "\r",
            "&lt;",   "&gt;",     "&amp;",     "&quot;",       "&apos;",       "&#65;",
            "&#x42;", "&#xAC00;", "&#128512;", "\xEA\xB0\x80", "Record Block", "1:2",
            "]",      "\"'"};
        std::string out;
        for (int i = Pick(5); i > 0; --i)
            out += kPieces[Pick(20)];
        return out;
    }

    void Element(std::string& out, int nDepth)
    {
        std::string strName = Name();
        out += "<" + strName;
        std::vector<std::string> used;
        for (int i = Pick(4); i > 0; --i)
        {
            std::string strAttr = std::string(1, static_cast<char>('p' + Pick(6)));
            bool bDuplicate = false;
            for (const std::string& s : used)
                bDuplicate = bDuplicate || s == strAttr;
            if (bDuplicate)
                continue;
            used.push_back(strAttr);
            char cQuote = Chance(50) ? '"' : '\'';
            std::string strValue = Text();
            // The quote of the value itself must be escaped inside it.
            std::string strSafe;
            for (char c : strValue)
                strSafe += c == cQuote ? (c == '"' ? "&quot;" : "&apos;") : std::string(1, c);
            out += (Chance(30) ? "\n  " : " ") + strAttr + (Chance(20) ? " = " : "=") + cQuote +
                   strSafe + cQuote;
        }
        if (Chance(20))
        {
            out += Chance(50) ? "/>" : " />";
            return;
        }
        out += ">";
        for (int i = nDepth < 5 ? Pick(5) : 0; i >= 0; --i)
        {
            switch (Pick(7))
            {
            case 0:
                out += "<![CDATA[" + std::string(Chance(50) ? "<raw & text>" : "x\r\ny") + "]]>";
                break;
            case 1:
                out += "<!-- note -->";
                break;
            case 2:
                out += "<?pi data?>";
                break;
            case 3:
            case 4:
                Element(out, nDepth + 1);
                break;
            default:
                out += Text();
            }
        }
        out += "</" + strName + (Chance(20) ? " >" : ">");
    }

    std::mt19937 m_rng;
};

TEST(XmlDifferential, SameElementsAttributesAndTextsAsExpat)
{
    CGenerator generator(20261210);
    size_t nElements = 0;
    for (int i = 0; i < 2000; ++i)
    {
        std::string strDoc = generator.Document();
        std::string strExpatError;
        std::vector<Element> expected = ExpatElements(strDoc, strExpatError);
        ASSERT_EQ(strExpatError, "") << "generated document is not well-formed:\n" << strDoc;
        std::string strError;
        std::vector<Element> got = OurElements(strDoc, strError);
        EXPECT_EQ(strError, "") << strDoc;
        ASSERT_EQ(got, expected) << strDoc;
        nElements += got.size();
    }
    // The corpus is not trivial: thousands of elements across the documents.
    EXPECT_GT(nElements, 5000u);
}

} // namespace
