#include "xml/TokenList.h"

CTokenList::CTokenList(const CStrList& list, const std::string& strSeparators)
{
    for (const std::string& strElement : list.m_array)
    {
        std::string strParts[2];
        size_t nPos = 0;
        for (std::string& strPart : strParts)
        {
            size_t nStart = strElement.find_first_not_of(strSeparators, nPos);
            if (nStart == std::string::npos)
                break;
            size_t nEnd = strElement.find_first_of(strSeparators, nStart);
            if (nEnd == std::string::npos)
                nEnd = strElement.size();
            strPart = strElement.substr(nStart, nEnd - nStart);
            nPos = nEnd;
        }
        AddToken(strParts[0], strParts[1]);
    }
}

bool CTokenList::AddToken(const std::string& strName, const std::string& strData)
{
    m_list.emplace_back(strName, strData);
    m_map[strName] = m_list.size() - 1;
    return true;
}

bool CTokenList::AddToken(const std::string& strName, std::string&& strData)
{
    m_list.emplace_back(strName, std::move(strData));
    m_map[strName] = m_list.size() - 1;
    return true;
}

void CTokenList::Reserve(size_t nCount)
{
    m_list.reserve(nCount);
    m_map.reserve(nCount);
}

bool CTokenList::RemoveAll()
{
    m_list.clear();
    m_map.clear();
    return true;
}

const std::string* CTokenList::Find(const std::string& strName) const
{
    auto it = m_map.find(strName);
    return it == m_map.end() ? nullptr : &m_list[it->second].m_strData;
}

bool CTokenList::Lookup(const std::string& strName, std::string& strData) const
{
    const std::string* pData = Find(strName);
    if (!pData)
        return false;
    strData = *pData;
    return true;
}
