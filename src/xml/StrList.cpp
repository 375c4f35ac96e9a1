#include "xml/StrList.h"

int CStrList::Split(const std::string& strText, const std::string& strSeparator)
{
    m_array.clear();
    // An empty separator would match everywhere without advancing.
    if (strSeparator.empty())
    {
        if (!strText.empty())
            m_array.push_back(strText);
        return GetCount();
    }
    size_t nPos = 0;
    for (;;)
    {
        size_t nFound = strText.find(strSeparator, nPos);
        if (nFound == std::string::npos)
        {
            if (nPos < strText.size())
                m_array.push_back(strText.substr(nPos));
            return GetCount();
        }
        if (nFound > nPos)
            m_array.push_back(strText.substr(nPos, nFound - nPos));
        nPos = nFound + strSeparator.size();
    }
}

std::string CStrList::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return std::string();
    return m_array[static_cast<size_t>(nIndex)];
}
