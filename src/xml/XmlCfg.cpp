#include "xml/XmlCfg.h"

#include <algorithm>

#include "xml/XmlParser.h"

namespace
{

bool IsLineBreakOrTab(char c)
{
    return c == '\r' || c == '\n' || c == '\t';
}

// The element text without its leading and trailing runs of CR, LF and tab; spaces stay.
std::string TrimLineBreaks(const char* pszText, size_t nLength)
{
    size_t nStart = 0;
    while (nStart < nLength && IsLineBreakOrTab(pszText[nStart]))
        ++nStart;
    size_t nEnd = nLength;
    while (nEnd > nStart && IsLineBreakOrTab(pszText[nEnd - 1]))
        --nEnd;
    return std::string(pszText + nStart, nEnd - nStart);
}

// Releases the parse result however the load ends.
struct XmlTreeHolder
{
    XmlRoot* pRoot;
    ~XmlTreeHolder() { XmlFreeTree(pRoot); }
};

} // namespace

void CXmlCfg::Clear()
{
    m_tokens.RemoveAll();
    m_openNames.clear();
    m_openPaths.clear();
    m_counts.clear();
    m_countKeys.clear();
}

bool CXmlCfg::LoadFromText(const std::string& strText, const CStrList* pIndexedNames)
{
    Clear();
    m_strParseError.clear();
    std::string strBuffer(strText.c_str());
    XmlTreeHolder tree{XmlParseText(&strBuffer[0], strBuffer.size())};
    m_strParseError = tree.pRoot->error;
    if (!tree.pRoot->name)
    {
        Clear();
        return false;
    }
    const std::vector<std::string>* pNames = pIndexedNames ? &pIndexedNames->m_array : nullptr;
    // Depth-first in document order without recursion: the path grows by one step per level
    // and is cut back to the remembered length when the level is left.
    m_tokens.Reserve(tree.pRoot->nodes.size() + 1);
    std::string strPath;
    std::vector<size_t> levelStarts;
    const XmlNode* pNode = tree.pRoot;
    while (pNode)
    {
        levelStarts.push_back(strPath.size());
        bool bIndexed =
            pNames && std::find(pNames->begin(), pNames->end(), pNode->name) != pNames->end();
        if (bIndexed)
        {
            std::string strKey = strPath + "$" + pNode->name + "$";
            auto it = m_counts.find(strKey);
            int nCount;
            if (it == m_counts.end())
            {
                m_countKeys.push_back(strKey);
                m_counts.emplace(std::move(strKey), 1);
                nCount = 1;
            }
            else
                nCount = ++it->second;
            strPath += '$';
            strPath += pNode->name;
            strPath += '%';
            strPath += std::to_string(nCount);
            strPath += '$';
        }
        else
        {
            strPath += '$';
            strPath += pNode->name;
            strPath += '$';
        }
        m_tokens.AddToken(strPath, TrimLineBreaks(pNode->text, pNode->textLength));
        if (pNode->child)
        {
            pNode = pNode->child;
            continue;
        }
        while (pNode)
        {
            strPath.resize(levelStarts.back());
            levelStarts.pop_back();
            if (pNode->ordered)
            {
                pNode = pNode->ordered;
                break;
            }
            pNode = pNode->parent;
        }
    }
    return true;
}

std::string CXmlCfg::GetValue(const std::string& strPath) const
{
    const std::string* pData = m_tokens.Find(strPath);
    return pData ? *pData : std::string();
}

int CXmlCfg::GetCount(const std::string& strPath) const
{
    auto it = m_counts.find(strPath);
    return it == m_counts.end() ? 0 : it->second;
}

bool CXmlCfg::AddToken(const std::string& strPath, const std::string& strText)
{
    return m_tokens.AddToken(strPath, strText);
}
