// The document type declaration and its internal subset: entities and attribute lists.
#include <cstring>
#include <vector>

#include "xml/XmlParserImpl.h"

namespace xmlparse
{

int CParser::IsCircular(const std::string& strName, char cMarker, const std::string& strValue)
{
    // Follows the general entities the value refers to, each once, looking for the new name.
    std::vector<const std::string*> pending{&strValue};
    std::vector<bool> visited(m_root.entities.entries.size(), false);
    while (!pending.empty())
    {
        const std::string& text = *pending.back();
        pending.pop_back();
        if (m_nBudget < text.size() + 1)
            return -1;
        m_nBudget -= text.size() + 1;
        for (size_t i = 0; i < text.size(); ++i)
        {
            if (text[i] != '&' && text[i] != cMarker)
                continue;
            const char* pszAfter = text.c_str() + i + 1;
            if (text[i] == cMarker && std::strncmp(pszAfter, strName.c_str(), strName.size()) == 0)
                return 1;
            if (text[i] != '&')
                continue;
            size_t nEnd = text.find_first_of("\t\n\r ", i + 1);
            std::string strAhead =
                text.substr(i + 1, nEnd == std::string::npos ? std::string::npos : nEnd - i - 1);
            if (m_nBudget < strAhead.size())
                return -1;
            m_nBudget -= strAhead.size();
            const XmlEntity* pEntity = XmlMatchEntity(m_root.entities, strAhead);
            if (!pEntity)
                continue;
            size_t nIndex = pEntity->ordinal;
            if (!visited[nIndex])
            {
                visited[nIndex] = true;
                pending.push_back(&pEntity->value);
            }
        }
    }
    return 0;
}

char* CParser::ParseEntityDecl(char* p, char* pEnd, XmlEntityTable& parameters, bool& bStop)
{
    char* q = SkipWhitespace(p + 8);
    bool bParameter = false;
    if (*q == '%' && IsWhitespace(q[1]))
    {
        bParameter = true;
        q = SkipWhitespace(q + 1);
    }
    char* pszName = q;
    while (q < pEnd && *q && !IsSeparator(*q))
        ++q;
    std::string strName(pszName, static_cast<size_t>(q - pszName));
    strName += ';';
    q = SkipWhitespace(q);
    if (*q != '"' && *q != '\'')
    {
        // An external entity: no replacement text of ours.
        char* pGt = std::strchr(q, '>');
        return pGt ? pGt + 1 : pEnd;
    }
    char cQuote = *q++;
    char* pValue = q;
    char* pClose = std::strchr(q, cQuote);
    if (!pClose)
    {
        bStop = true;
        return pEnd;
    }
    *pClose = '\0';
    if (!Decode(pValue, pClose, XmlDecodeMode::kPercent, m_piece, pValue))
    {
        bStop = true;
        return nullptr;
    }
    std::string strValue(m_piece.text, m_piece.length);
    int nCircular = IsCircular(strName, bParameter ? '%' : '&', strValue);
    if (nCircular < 0)
    {
        ExpansionError(pValue);
        bStop = true;
        return nullptr;
    }
    if (nCircular > 0)
    {
        Error(pValue, "circular entity declaration &%s", strName.c_str());
        bStop = true;
        return nullptr;
    }
    if (bParameter)
        parameters.Add(std::move(strName), std::move(strValue));
    else
        m_root.entities.Add(std::move(strName), std::move(strValue));
    char* pGt = std::strchr(pClose + 1, '>');
    return pGt ? pGt + 1 : pEnd;
}

char* CParser::ParseAttlistDecl(char* p, char* pEnd, bool& bStop)
{
    char* q = SkipWhitespace(p + 9);
    if (q >= pEnd || !*q)
    {
        Error(q, "unclosed <!ATTLIST");
        bStop = true;
        return nullptr;
    }
    char* pszElement = q;
    while (*q && !IsSeparator(*q) && *q != '>')
        ++q;
    std::string strElement(pszElement, static_cast<size_t>(q - pszElement));
    auto Malformed = [&]() -> char*
    {
        Error(pszElement, "malformed <!ATTLIST");
        bStop = true;
        return nullptr;
    };
    size_t nList = m_root.attributeLists.size();
    for (size_t i = 0; i < m_root.attributeLists.size(); ++i)
    {
        if (m_root.attributeLists[i].element == strElement)
        {
            nList = i;
            break;
        }
    }
    for (;;)
    {
        q = SkipWhitespace(q);
        if (*q == '>')
            return q + 1;
        if (!*q)
            return q;
        char* pszAttr = q;
        while (*q && !IsSeparator(*q) && *q != '>')
            ++q;
        if (!*q)
            return Malformed();
        XmlAttributeDecl decl;
        decl.name.assign(pszAttr, static_cast<size_t>(q - pszAttr));
        q = SkipWhitespace(q);
        if (std::strncmp(q, "CDATA", 5) == 0)
        {
            decl.mode = XmlDecodeMode::kSpace;
            q += 5;
        }
        else
        {
            decl.mode = XmlDecodeMode::kStar;
            if (std::strncmp(q, "NOTATION", 8) == 0)
                q = SkipWhitespace(q + 8);
            if (*q == '(')
            {
                char* pClose = std::strchr(q, ')');
                if (!pClose)
                    return Malformed();
                q = pClose + 1;
            }
            else
            {
                while (*q && !IsSeparator(*q) && *q != '>')
                    ++q;
            }
        }
        q = SkipWhitespace(q);
        if (std::strncmp(q, "#FIXED", 6) == 0)
            q = SkipWhitespace(q + 6);
        if (*q == '"' || *q == '\'')
        {
            char cQuote = *q++;
            char* pValue = q;
            char* pClose = std::strchr(q, cQuote);
            if (!pClose)
                return Malformed();
            *pClose = '\0';
            if (!Decode(pValue, pClose, decl.mode, m_piece, pszElement))
            {
                bStop = true;
                return nullptr;
            }
            decl.hasDefault = true;
            decl.defaultValue.assign(m_piece.text, m_piece.length);
            q = pClose + 1;
        }
        else if (*q == '#')
        {
            while (*q && !IsSeparator(*q) && *q != '>')
                ++q;
            if (decl.mode == XmlDecodeMode::kSpace)
                continue; // a CDATA attribute without a default changes nothing
        }
        else
            return Malformed();
        if (nList == m_root.attributeLists.size())
        {
            m_root.attributeLists.emplace_back();
            m_root.attributeLists.back().element = strElement;
        }
        m_root.attributeLists[nList].attributes.push_back(std::move(decl));
    }
}

bool CParser::ParseSubset(char* p, char* pEnd)
{
    XmlEntityTable parameters;
    m_pParameters = &parameters;
    bool bStop = false;
    while (p && p < pEnd && !bStop)
    {
        char c = *p;
        if (c == '<')
        {
            if (std::strncmp(p, "<!ENTITY", 8) == 0)
                p = ParseEntityDecl(p, pEnd, parameters, bStop);
            else if (std::strncmp(p, "<!ATTLIST", 9) == 0)
                p = ParseAttlistDecl(p, pEnd, bStop);
            else if (std::strncmp(p, "<!--", 4) == 0)
            {
                char* q = std::strstr(p + 4, "-->");
                p = q ? q + 3 : pEnd;
            }
            else if (p[1] == '?')
            {
                bool bOk;
                p = ParseInstruction(p, bOk);
                if (!bOk)
                    bStop = true;
            }
            else
            {
                char* q = std::strchr(p + 1, '>');
                p = q ? q + 1 : pEnd;
            }
        }
        else if (c == '%')
        {
            // A parameter-entity reference may hide declarations we cannot see; stop here
            // unless the document says it stands alone.
            if (!m_root.standalone)
                break;
            ++p;
        }
        else if (!c)
            break;
        else
            ++p;
    }
    m_pParameters = nullptr;
    return m_root.error.empty();
}

char* CParser::ParseDoctype(char* p)
{
    char* q = p + 9;
    char* pSubset = nullptr;
    for (;; ++q)
    {
        if (!*q)
        {
            if (AtAcceptedEnd(q) && !pSubset)
                return q;
            Error(p, "unclosed <!DOCTYPE");
            return nullptr;
        }
        if (!pSubset)
        {
            if (*q == '>')
                return q + 1;
            if (*q == '[')
                pSubset = q + 1;
            continue;
        }
        if (*q != ']')
            continue;
        char* r = SkipWhitespace(q + 1);
        if (*r == '>' || AtAcceptedEnd(r))
        {
            *q = '\0';
            if (!ParseSubset(pSubset, q))
                return nullptr;
            return *r == '>' ? r + 1 : r;
        }
    }
}

} // namespace xmlparse
