#include "xml/XmlParser.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "xml/XmlDecode.h"
#include "xml/XmlParserImpl.h"

namespace xmlparse
{

namespace
{

// The UTF-8 form of UTF-16 input (byte-order mark at offset 0, big-endian when it is 0xFE).
std::string ConvertUtf16(const unsigned char* p, size_t nLength)
{
    std::string out;
    bool bBigEndian = p[0] == 0xFE;
    size_t nUnits = nLength >= 2 ? (nLength - 2) / 2 : 0;
    out.reserve(nUnits + 1024);
    for (size_t i = 0; i < nUnits; ++i)
    {
        const unsigned char* q = p + 2 + 2 * i;
        unsigned long u = bBigEndian ? (q[0] << 8 | q[1]) : (q[1] << 8 | q[0]);
        if (u >= 0xD800 && u <= 0xDFFF && i + 1 < nUnits)
        {
            const unsigned char* r = q + 2;
            unsigned long low = bBigEndian ? (r[0] << 8 | r[1]) : (r[1] << 8 | r[0]);
            u = (((u & 0x3FF) << 10) | (low & 0x3FF)) + 0x10000;
            ++i;
        }
        XmlAppendUtf8(out, u);
    }
    return out;
}

void CloseCurrent(XmlRoot& root, int& nDepth)
{
    root.current = root.current->parent;
    --nDepth;
    if (!root.current)
        root.rootClosed = true;
}

} // namespace

void CParser::Error(const char* pszAt, const char* pszFormat, ...)
{
    if (!m_root.error.empty())
        return;
    int nLine = 1;
    if (pszAt && m_root.workStart && pszAt >= m_root.workStart)
    {
        for (const char* p = m_root.workStart; p < pszAt && p < m_root.workEnd; ++p)
            nLine += *p == '\n';
    }
    char szMessage[512];
    int n = std::snprintf(szMessage, sizeof(szMessage), "[error near line %d]: ", nLine);
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(szMessage + n, sizeof(szMessage) - static_cast<size_t>(n), pszFormat, args);
    va_end(args);
    m_root.error.assign(szMessage, std::strlen(szMessage) < kXmlMaxErrorLength
                                       ? std::strlen(szMessage)
                                       : kXmlMaxErrorLength);
}

bool CParser::Decode(char* p, char* pEnd, XmlDecodeMode eMode, XmlDecoded& result, const char* pAt)
{
    XmlDecodeContext context;
    context.general = &m_root.entities;
    context.parameters = m_pParameters;
    context.budget = &m_nBudget;
    if (XmlDecodeText(p, pEnd, eMode, context, result))
        return true;
    ExpansionError(pAt);
    return false;
}

void CParser::ExpansionError(const char* pAt)
{
    Error(pAt, "entity expansion beyond %u MiB or %u times the input",
          static_cast<unsigned>(kXmlExpansionFloor >> 20),
          static_cast<unsigned>(kXmlExpansionFactor));
}

void CParser::AppendText(XmlNode& node, XmlDecoded& piece)
{
    if (piece.length == 0)
        return;
    if (node.textLength == 0)
    {
        if (piece.owned)
        {
            node.ownedText = std::move(piece.storage);
            node.text = node.ownedText.c_str();
            node.flags |= kXmlTextOwned;
        }
        else
            node.text = piece.text;
        node.textLength = piece.length;
        return;
    }
    // Text assembled from several pieces lives in the node's own storage.
    if (!(node.flags & kXmlTextOwned))
    {
        node.ownedText.assign(node.text, node.textLength);
        node.flags |= kXmlTextOwned;
    }
    node.ownedText.append(piece.text, piece.length);
    node.text = node.ownedText.c_str();
    node.textLength = node.ownedText.size();
}

bool CParser::OpenElement(char* pszName, char* pAt)
{
    XmlNode* pNode;
    if (!m_root.name)
        pNode = &m_root;
    else
    {
        if (m_nDepth >= kXmlMaxDepth)
        {
            Error(pAt, "elements nested deeper than %d levels", kXmlMaxDepth);
            return false;
        }
        m_root.nodes.emplace_back();
        pNode = &m_root.nodes.back();
        XmlNode* pParent = m_root.current;
        pNode->parent = pParent;
        if (pParent->lastChild)
            pParent->lastChild->ordered = pNode;
        else
            pParent->child = pNode;
        pParent->lastChild = pNode;
    }
    pNode->name = pszName;
    m_root.current = pNode;
    ++m_nDepth;
    return true;
}

XmlDecodeMode CParser::AttributeMode(const char* pszElement, const char* pszAttribute) const
{
    for (const XmlAttributeList& list : m_root.attributeLists)
    {
        if (list.element != pszElement)
            continue;
        for (const XmlAttributeDecl& decl : list.attributes)
        {
            if (decl.name == pszAttribute)
                return decl.mode;
        }
    }
    return XmlDecodeMode::kSpace;
}

char* CParser::ParseStartTag(char* p)
{
    char* pszName = p + 1;
    char* q = pszName;
    while (*q && !IsSeparator(*q) && *q != '/' && *q != '>')
        ++q;
    if (m_root.rootClosed)
    {
        Error(p, "markup outside of root element");
        return nullptr;
    }
    // The name (or the last attribute name) ends where "/" or ">" stands; that byte becomes
    // the terminator once the tag is complete.
    while (IsWhitespace(*q))
        *q++ = '\0';
    std::vector<XmlAttribute> attributes;
    bool bOwnedValue = false;
    while (*q && *q != '/' && *q != '>')
    {
        char* pszAttr = q;
        while (*q && !IsSeparator(*q) && *q != '=' && *q != '/' && *q != '>')
            ++q;
        const char* pszValue = "";
        if (*q == '=' || IsSeparator(*q))
        {
            *q++ = '\0';
            while (IsSeparator(*q) || *q == '=')
                ++q;
            if (*q == '"' || *q == '\'')
            {
                char cQuote = *q++;
                char* pValue = q;
                char* pClose = std::strchr(q, cQuote);
                if (!pClose)
                {
                    Error(p, "missing %c", cQuote);
                    return nullptr;
                }
                *pClose = '\0';
                // The name must be terminated before its declared mode can be looked up.
                XmlDecodeMode eMode = m_root.attributeLists.empty()
                                          ? XmlDecodeMode::kSpace
                                          : AttributeMode(pszName, pszAttr);
                if (!Decode(pValue, pClose, eMode, m_piece, p))
                    return nullptr;
                if (m_piece.owned)
                {
                    m_root.ownedValues.push_back(std::move(m_piece.storage));
                    pszValue = m_root.ownedValues.back().c_str();
                    bOwnedValue = true;
                }
                else
                    pszValue = m_piece.text;
                q = pClose + 1;
            }
        }
        attributes.push_back(XmlAttribute{pszAttr, pszValue});
        while (IsWhitespace(*q))
            ++q;
    }
    bool bEmpty;
    char* pNext;
    if (*q == '/' && (q[1] == '>' || AtAcceptedEnd(q + 1)))
    {
        bEmpty = true;
        pNext = q[1] == '>' ? q + 2 : q + 1;
    }
    else if (*q == '>' || AtAcceptedEnd(q))
    {
        bEmpty = false;
        pNext = *q == '>' ? q + 1 : q;
    }
    else
    {
        Error(p, "missing >");
        return nullptr;
    }
    *q = '\0';
    if (!OpenElement(pszName, p))
        return nullptr;
    XmlNode* pNode = m_root.current;
    pNode->attributes = std::move(attributes);
    if (bOwnedValue)
        pNode->flags |= kXmlValueOwned;
    if (bEmpty)
        CloseCurrent(m_root, m_nDepth);
    return pNext;
}

char* CParser::ParseEndTag(char* p)
{
    char* pszName = p + 2;
    char* q = pszName;
    while (*q && !IsSeparator(*q) && *q != '>')
        ++q;
    if (!*q && !AtAcceptedEnd(q))
    {
        Error(q, "missing >");
        return nullptr;
    }
    char c = *q;
    *q = '\0';
    if (!m_root.current || std::strcmp(m_root.current->name, pszName) != 0)
    {
        Error(q, "unexpected closing tag </%s>", pszName);
        return nullptr;
    }
    CloseCurrent(m_root, m_nDepth);
    if (c == '>')
        return q + 1;
    if (!c)
        return q;
    ++q;
    q = SkipWhitespace(q);
    return *q == '>' ? q + 1 : q;
}

char* CParser::ParseComment(char* p)
{
    // The first "--" must end the comment.
    char* q = std::strstr(p + 4, "--");
    if (q && q[2] == '>')
        return q + 3;
    if (q && AtAcceptedEnd(q + 2))
        return q + 2;
    Error(p, "unclosed <!--");
    return nullptr;
}

char* CParser::ParseCdata(char* p)
{
    char* pContent = p + 9;
    char* q = std::strstr(pContent, "]]>");
    if (!q)
    {
        Error(p, "unclosed <![CDATA[");
        return nullptr;
    }
    if (m_root.current)
    {
        Decode(pContent, q, XmlDecodeMode::kCdata, m_piece, p);
        AppendText(*m_root.current, m_piece);
    }
    return q + 3;
}

char* CParser::ParseInstruction(char* p, bool& bOk)
{
    bOk = false;
    char* pTarget = p + 2;
    char* q = pTarget;
    char* pClose = nullptr;
    for (; *q; ++q)
    {
        if (*q == '?' && (q[1] == '>' || AtAcceptedEnd(q + 1)))
        {
            pClose = q;
            break;
        }
    }
    if (!pClose)
    {
        Error(p, "unclosed <?");
        return nullptr;
    }
    char* pNext = pClose[1] == '>' ? pClose + 2 : pClose + 1;
    *pClose = '\0';
    char* pTargetEnd = pTarget;
    while (*pTargetEnd && !IsSeparator(*pTargetEnd))
        ++pTargetEnd;
    if (pTargetEnd - pTarget == 3 && std::strncmp(pTarget, "xml", 3) == 0)
    {
        char* s = std::strstr(pTargetEnd, "standalone");
        if (s)
        {
            s += 10;
            while (IsWhitespace(*s) || *s == '=' || *s == '"' || *s == '\'')
                ++s;
            if (std::strncmp(s, "yes", 3) == 0)
                m_root.standalone = true;
        }
    }
    bOk = true;
    return pNext;
}

void CParser::Run(char* pszBuffer, size_t nLength)
{
    if (nLength > 0 && (static_cast<unsigned char>(pszBuffer[0]) == 0xFE ||
                        static_cast<unsigned char>(pszBuffer[0]) == 0xFF))
    {
        m_root.converted = ConvertUtf16(reinterpret_cast<unsigned char*>(pszBuffer), nLength);
        nLength = strnlen(m_root.converted.c_str(), m_root.converted.size());
        m_root.converted.resize(nLength);
        pszBuffer = &m_root.converted[0];
    }
    // The document ends at its first zero byte.
    nLength = strnlen(pszBuffer, nLength);
    if (nLength == 0)
    {
        Error(nullptr, "root tag missing");
        return;
    }
    m_root.workStart = pszBuffer;
    m_root.workEnd = pszBuffer + nLength;
    m_nBudget = nLength > kXmlExpansionFloor / kXmlExpansionFactor ? nLength * kXmlExpansionFactor
                                                                   : kXmlExpansionFloor;
    // The last byte is replaced by the terminator; a construct may run into it only when it
    // was the final ">".
    m_pEnd = pszBuffer + nLength - 1;
    m_bLastWasGt = *m_pEnd == '>';
    *m_pEnd = '\0';

    char* p =
        static_cast<char*>(std::memchr(pszBuffer, '<', static_cast<size_t>(m_pEnd - pszBuffer)));
    if (!p)
    {
        Error(nullptr, "root tag missing");
        return;
    }
    char* pLastMarkupEnd = p;
    while (p)
    {
        char c = p[1];
        char* q = nullptr;
        if (IsNameStart(c))
            q = ParseStartTag(p);
        else if (c == '/')
            q = ParseEndTag(p);
        else if (c == '!' && std::strncmp(p + 2, "--", 2) == 0)
            q = ParseComment(p);
        else if (c == '!' && std::strncmp(p + 2, "[CDATA[", 7) == 0)
            q = ParseCdata(p);
        else if (c == '!' && std::strncmp(p + 2, "DOCTYPE", 7) == 0)
            q = ParseDoctype(p);
        else if (c == '?')
        {
            bool bOk;
            q = ParseInstruction(p, bOk);
        }
        else
            Error(p, "unexpected <");
        if (!q || !m_root.error.empty())
            return;
        if (q > m_pEnd)
            q = m_pEnd;
        pLastMarkupEnd = q;
        // Character data up to the next "<"; text with no "<" after it is dropped.
        char* pNext = static_cast<char*>(std::memchr(q, '<', static_cast<size_t>(m_pEnd - q)));
        if (pNext && m_root.current && pNext > q)
        {
            *pNext = '\0';
            if (!Decode(q, pNext, XmlDecodeMode::kAmpersand, m_piece, q))
                return;
            AppendText(*m_root.current, m_piece);
        }
        p = pNext;
    }
    if (m_root.rootClosed)
        return;
    if (!m_root.name)
        Error(nullptr, "root tag missing");
    else
        Error(pLastMarkupEnd, "unclosed tag <%s>", m_root.current->name);
}

} // namespace xmlparse

XmlRoot* XmlParseText(char* pszBuffer, size_t nLength)
{
    XmlRoot* pRoot = new XmlRoot;
    // Each document has its own copy of the predefined entities.
    pRoot->entities.Add("lt;", "&#60;");
    pRoot->entities.Add("gt;", "&#62;");
    pRoot->entities.Add("quot;", "&#34;");
    pRoot->entities.Add("apos;", "&#39;");
    pRoot->entities.Add("amp;", "&#38;");
    if (pszBuffer)
    {
        xmlparse::CParser parser(*pRoot);
        parser.Run(pszBuffer, nLength);
    }
    else
        pRoot->error = "[error near line 1]: root tag missing";
    return pRoot;
}

void XmlFreeTree(XmlRoot* pRoot)
{
    // Elements live in a deque owned by the document: freeing never walks the tree.
    delete pRoot;
}
