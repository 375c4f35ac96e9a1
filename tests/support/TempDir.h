// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <string>

class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_strPath; }
    // Path of a name inside the folder.
    std::string File(const std::string& strName) const { return m_strPath + "/" + strName; }

private:
    std::string m_strPath;
};

// Test file helpers: the whole content, or empty when the file cannot be read.
std::string ReadFileOrEmpty(const std::string& strPath);
bool WriteFileBytes(const std::string& strPath, const std::string& strContent);
