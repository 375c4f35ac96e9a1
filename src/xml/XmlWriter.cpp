#include "platform/File.h"
#include "xml/XmlCfg.h"

namespace
{

// Only what the loader drops from an element's text anyway (runs of CR, LF and tab): a
// value with a leading or trailing blank, such as a password, must load back as written.
bool IsTrimSpace(char c)
{
    return c == '\t' || c == '\n' || c == '\r';
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Does strPath begin with strPrefix, ASCII letters compared without regard to case?
bool StartsWithNoCase(const std::string& strPath, const std::string& strPrefix)
{
    if (strPath.size() < strPrefix.size())
        return false;
    for (size_t i = 0; i < strPrefix.size(); ++i)
    {
        if (AsciiLower(strPath[i]) != AsciiLower(strPrefix[i]))
            return false;
    }
    return true;
}

// The name between the last two dollar signs of the path's first 4094 bytes (the size of the
// name buffer the file format was defined with).
std::string TagNameOf(const std::string& strPath)
{
    std::string strHead = strPath.substr(0, 4094);
    size_t nLast = strHead.rfind('$');
    if (nLast == std::string::npos || nLast == 0)
        return std::string();
    size_t nBefore = strHead.rfind('$', nLast - 1);
    if (nBefore == std::string::npos)
        return std::string();
    return strHead.substr(nBefore + 1, nLast - nBefore - 1);
}

// The written name: the index part of an indexed step is never written.
std::string WrittenName(const std::string& strTagName)
{
    return strTagName.substr(0, strTagName.find('%'));
}

} // namespace

std::string XmlEscape(const std::string& strText)
{
    std::string strOut;
    strOut.reserve(strText.size());
    for (char c : strText)
    {
        switch (c)
        {
        case '"':
            strOut += "&quot;";
            break;
        case '&':
            strOut += "&amp;";
            break;
        case '\'':
            strOut += "&apos;";
            break;
        case '<':
            strOut += "&lt;";
            break;
        case '>':
            strOut += "&gt;";
            break;
        default:
            strOut += c;
        }
    }
    return strOut;
}

void CXmlCfg::CloseTop(std::string& strText, bool& bLineEnded)
{
    std::string strName = m_openNames.back();
    m_openPaths.pop_back();
    m_openNames.pop_back();
    if (bLineEnded)
        strText.append(m_openPaths.size(), '\t');
    strText += "</";
    strText += WrittenName(strName);
    strText += ">\r\n";
    bLineEnded = true;
}

bool CXmlCfg::ToText(std::string& strText)
{
    strText.clear();
    m_openPaths.clear();
    m_openNames.clear();
    bool bLineEnded = false;
    for (const CToken& token : m_tokens.m_list)
    {
        const std::string& strPath = token.m_strName;
        std::string strTagName = TagNameOf(strPath);
        while (!m_openPaths.empty() && !StartsWithNoCase(strPath, m_openPaths.back()))
            CloseTop(strText, bLineEnded);
        strText.append(m_openPaths.size(), '\t');
        m_openPaths.push_back(strPath);
        m_openNames.push_back(strTagName);
        strText += '<';
        strText += WrittenName(strTagName);
        strText += '>';
        const std::string& strData = token.m_strData;
        size_t nStart = 0;
        while (nStart < strData.size() && IsTrimSpace(strData[nStart]))
            ++nStart;
        size_t nEnd = strData.size();
        while (nEnd > nStart && IsTrimSpace(strData[nEnd - 1]))
            --nEnd;
        if (nEnd > nStart)
        {
            strText += XmlEscape(strData.substr(nStart, nEnd - nStart));
            bLineEnded = false;
        }
        else
        {
            strText += "\r\n";
            bLineEnded = true;
        }
    }
    while (!m_openPaths.empty())
        CloseTop(strText, bLineEnded);
    return true;
}

bool CXmlCfg::Save(const std::string& strPath)
{
    const std::string& strTarget = strPath.empty() ? m_strFilePath : strPath;
    if (strTarget.empty())
        return false;
    std::string strText;
    ToText(strText);
    return platform::ReplaceFileAtomically(strTarget, strText);
}
