#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

CTempDir::CTempDir()
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "kelmora-test-XXXXXX").string();
    char* made = ::mkdtemp(&tmpl[0]);
    m_strPath = made ? std::string(made) : std::string();
}

CTempDir::~CTempDir()
{
    if (m_strPath.empty())
        return;
    std::error_code ec;
    // Tests may leave read-only folders behind; give the rights back before removing.
    for (auto it = std::filesystem::recursive_directory_iterator(m_strPath, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::permissions(m_strPath, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_strPath, ec);
}

std::string ReadFileOrEmpty(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool WriteFileBytes(const std::string& strPath, const std::string& strContent)
{
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out << strContent;
    return static_cast<bool>(out);
}
