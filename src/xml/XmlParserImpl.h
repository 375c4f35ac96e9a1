// The parser's internal state and steps, shared by the files of the parser.
#pragma once

#include <string>

#include "xml/XmlDecode.h"
#include "xml/XmlParser.h"

namespace xmlparse
{

inline bool IsSeparator(char c)
{
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}
inline bool IsWhitespace(char c)
{
    return IsSeparator(c) || c == '\v' || c == '\f';
}
inline bool IsNameStart(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == ':' || u >= 0x80;
}

inline char* SkipWhitespace(char* p)
{
    while (IsWhitespace(*p))
        ++p;
    return p;
}

class CParser
{
public:
    explicit CParser(XmlRoot& root) : m_root(root) {}
    void Run(char* pszBuffer, size_t nLength);

private:
    // Records the first error: "[error near line %d]: " and the message, cut to 127 bytes.
    void Error(const char* pszAt, const char* pszFormat, ...);
    bool AtAcceptedEnd(const char* p) const { return p == m_pEnd && m_bLastWasGt; }

    char* ParseStartTag(char* p);
    char* ParseEndTag(char* p);
    char* ParseComment(char* p);
    char* ParseCdata(char* p);
    char* ParseDoctype(char* p);
    char* ParseInstruction(char* p, bool& bOk);
    bool ParseSubset(char* p, char* pEnd);
    char* ParseEntityDecl(char* p, char* pEnd, XmlEntityTable& parameters, bool& bStop);
    char* ParseAttlistDecl(char* p, char* pEnd, bool& bStop);
    // 1 when the value leads back to the name, 0 when not, -1 when over the work budget.
    int IsCircular(const std::string& strName, char cMarker, const std::string& strValue);
    void ExpansionError(const char* pAt);

    bool OpenElement(char* pszName, char* pAt);
    void AppendText(XmlNode& node, XmlDecoded& piece);
    bool Decode(char* p, char* pEnd, XmlDecodeMode eMode, XmlDecoded& result, const char* pAt);
    XmlDecodeMode AttributeMode(const char* pszElement, const char* pszAttribute) const;

    XmlRoot& m_root;
    char* m_pEnd = nullptr; // the NUL that replaced the last byte
    bool m_bLastWasGt = false;
    int m_nDepth = 0;
    size_t m_nBudget = 0;
    XmlEntityTable* m_pParameters = nullptr;
    XmlDecoded m_piece;
};

} // namespace xmlparse
