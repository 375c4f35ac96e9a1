// One node of a property tree: named values plus child nodes in sibling chains.
#pragma once

#include <map>
#include <string>
#include <vector>

class CSerializationInfo
{
public:
    CSerializationInfo() = default;
    // Frees the first child's tree and, for the first node of a chain, every node after it;
    // iteratively, so neither depth nor chain length costs stack.
    virtual ~CSerializationInfo();
    CSerializationInfo(const CSerializationInfo&) = delete;
    CSerializationInfo& operator=(const CSerializationInfo&) = delete;

    void SetName(const std::string& strName) { m_strName = strName; }
    const std::string& GetName() const { return m_strName; }

    void AddValue(const std::string& strName, const std::string& strText);
    void AddValue(const std::string& strName, int nValue);
    // Position in the value list of the first value stored under the name, or -1.
    int FindValue(const std::string& strName) const;
    // The first value stored under the name, or "".
    std::string GetValue(const std::string& strName) const;
    // The first value stored under the name as atol reads it, or 0.
    int GetIntValue(const std::string& strName) const;

    const std::vector<std::string>& GetValues() const { return m_values; }
    CSerializationInfo* GetFirstChild() const { return m_pFirstChild; }
    CSerializationInfo* GetNext() const { return m_pNext; }
    CSerializationInfo* GetPrev() const { return m_pPrev; }
    CSerializationInfo* GetParent() const { return m_pParent; }

    // The first child; created empty when there is none.
    CSerializationInfo* GetChild();
    // A new empty node at the end of this node's sibling chain, with the same parent.
    CSerializationInfo* AddSibling();

private:
    std::string m_strName;
    std::map<std::string, std::vector<int>> m_mapValueIndex; // value name -> positions
    std::vector<std::string> m_values;
    CSerializationInfo* m_pPrev = nullptr;
    CSerializationInfo* m_pNext = nullptr;
    CSerializationInfo* m_pFirstChild = nullptr;
    CSerializationInfo* m_pParent = nullptr;
    // The chain's first node, and (kept there only) its last: appends need no walk.
    CSerializationInfo* m_pChainFirst = this;
    CSerializationInfo* m_pChainLast = this;
};
