// Name/data pairs in insertion order with a name -> data map (the last token of a name wins).
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "xml/StrList.h"

class CToken
{
public:
    CToken() = default;
    CToken(std::string strName, std::string strData)
        : m_strName(std::move(strName)), m_strData(std::move(strData))
    {
    }
    CToken(const CToken&) = default;
    CToken(CToken&&) = default;
    CToken& operator=(const CToken&) = default;
    CToken& operator=(CToken&&) = default;
    virtual ~CToken() = default;

    std::string m_strName;
    std::string m_strData;
};

class CTokenList
{
public:
    CTokenList() = default;
    // One token per element: its first run of non-separator characters is the name, the
    // second the data (each character of strSeparators delimits).
    CTokenList(const CStrList& list, const std::string& strSeparators);
    virtual ~CTokenList() = default;

    bool AddToken(const std::string& strName, const std::string& strData);
    bool AddToken(const std::string& strName, std::string&& strData);
    void Reserve(size_t nCount);
    bool RemoveAll();
    // true and the data of the last token of that name (case-sensitive) when present.
    bool Lookup(const std::string& strName, std::string& strData) const;
    // The data of the last token of that name, or null.
    const std::string* Find(const std::string& strName) const;
    size_t GetCount() const { return m_list.size(); }

    std::vector<CToken> m_list;
    // Name -> position in m_list of the last token with that name.
    std::unordered_map<std::string, size_t> m_map;
};
