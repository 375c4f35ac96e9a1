// An ordered array of strings, filled by splitting a text at a separator substring.
#pragma once

#include <string>
#include <vector>

class CStrList
{
public:
    virtual ~CStrList() = default;

    // Replaces the content with the non-empty pieces between occurrences of the separator
    // (matched byte for byte); returns their number. An empty separator gives the whole text.
    int Split(const std::string& strText, const std::string& strSeparator);
    int GetCount() const { return static_cast<int>(m_array.size()); }
    // The element, or the empty string outside 0 .. GetCount() - 1.
    std::string GetAt(int nIndex) const;
    void Add(const std::string& strText) { m_array.push_back(strText); }

    std::vector<std::string> m_array;
};
