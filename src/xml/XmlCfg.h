// An XML document held as ordered (path, text) entries and queried by path.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "xml/StrList.h"
#include "xml/TokenList.h"

class CXmlCfg
{
public:
    CXmlCfg() = default;
    virtual ~CXmlCfg() = default;

    // Replaces the content with the elements of the text (up to its first zero byte).
    // Elements whose name is in pIndexedNames get "$name%K$" steps and are counted under
    // their unindexed path. false only when the text holds no root element.
    bool LoadFromText(const std::string& strText, const CStrList* pIndexedNames = nullptr);
    // The text stored for the path, or "".
    std::string GetValue(const std::string& strPath) const;
    // The number of indexed elements counted under the unindexed path, or 0.
    int GetCount(const std::string& strPath) const;
    // Appends one entry; the counts stay as they are.
    bool AddToken(const std::string& strPath, const std::string& strText);
    void SetFilePath(const std::string& strPath) { m_strFilePath = strPath; }

    // Indented XML of all entries: tabs per level, CR LF line ends, no declaration.
    bool ToText(std::string& strText);
    // Writes ToText's bytes to the path (or to the file path when it is empty) through an
    // atomic replace; false, with any previous file untouched, when that fails.
    bool Save(const std::string& strPath);

    // For listing what was read: the entries in document order, the count keys in the order
    // they were first met, and the parser's error text of the last load ("" when none).
    const std::vector<CToken>& GetEntries() const { return m_tokens.m_list; }
    const std::vector<std::string>& GetCountKeys() const { return m_countKeys; }
    const std::string& GetParseError() const { return m_strParseError; }
    const std::string& GetFilePath() const { return m_strFilePath; }

private:
    void Clear();
    void CloseTop(std::string& strText, bool& bLineEnded);

    CTokenList m_tokens;
    std::vector<std::string> m_openNames;
    std::vector<std::string> m_openPaths;
    std::unordered_map<std::string, int> m_counts;
    std::vector<std::string> m_countKeys;
    std::string m_strFilePath;
    std::string m_strParseError;
};

// The text with the five XML special characters replaced by their entity references.
std::string XmlEscape(const std::string& strText);
