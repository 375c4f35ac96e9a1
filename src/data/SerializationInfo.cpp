#include "data/SerializationInfo.h"

#include "platform/CrtNumbers.h"

CSerializationInfo::~CSerializationInfo()
{
    // Every node reached from an owned first child or from a chain's first node is owned
    // by this one; unlink each before deleting it so its own destructor has nothing to do.
    std::vector<CSerializationInfo*> pending;
    if (m_pFirstChild)
        pending.push_back(m_pFirstChild);
    if (!m_pPrev && m_pNext)
        pending.push_back(m_pNext);
    m_pFirstChild = nullptr;
    m_pNext = nullptr;
    while (!pending.empty())
    {
        CSerializationInfo* pNode = pending.back();
        pending.pop_back();
        if (pNode->m_pFirstChild)
            pending.push_back(pNode->m_pFirstChild);
        if (pNode->m_pNext)
            pending.push_back(pNode->m_pNext);
        pNode->m_pFirstChild = nullptr;
        pNode->m_pNext = nullptr;
        pNode->m_pPrev = nullptr;
        delete pNode;
    }
}

void CSerializationInfo::AddValue(const std::string& strName, const std::string& strText)
{
    m_mapValueIndex[strName].push_back(static_cast<int>(m_values.size()));
    m_values.push_back(strText);
}

void CSerializationInfo::AddValue(const std::string& strName, int nValue)
{
    AddValue(strName, platform::FormatInt(nValue));
}

int CSerializationInfo::FindValue(const std::string& strName) const
{
    auto it = m_mapValueIndex.find(strName);
    if (it == m_mapValueIndex.end() || it->second.empty())
        return -1;
    return it->second.front();
}

std::string CSerializationInfo::GetValue(const std::string& strName) const
{
    int nIndex = FindValue(strName);
    return nIndex < 0 ? std::string() : m_values[static_cast<size_t>(nIndex)];
}

int CSerializationInfo::GetIntValue(const std::string& strName) const
{
    int nIndex = FindValue(strName);
    return nIndex < 0 ? 0 : platform::CrtAtol(m_values[static_cast<size_t>(nIndex)].c_str());
}

CSerializationInfo* CSerializationInfo::GetChild()
{
    if (!m_pFirstChild)
    {
        m_pFirstChild = new CSerializationInfo;
        m_pFirstChild->m_pParent = this;
    }
    return m_pFirstChild;
}

CSerializationInfo* CSerializationInfo::AddSibling()
{
    CSerializationInfo* pFirst = m_pChainFirst;
    CSerializationInfo* pLast = pFirst->m_pChainLast;
    CSerializationInfo* pNode = new CSerializationInfo;
    pNode->m_pParent = m_pParent;
    pNode->m_pPrev = pLast;
    pNode->m_pChainFirst = pFirst;
    pLast->m_pNext = pNode;
    pFirst->m_pChainLast = pNode;
    return pNode;
}
