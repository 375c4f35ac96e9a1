#include "app/Paths.h"

#include <mutex>

#include "platform/File.h"

namespace
{

struct CModuleFolder
{
    std::mutex lock;
    std::string folder;
};

CModuleFolder& ModuleFolder()
{
    static CModuleFolder instance;
    return instance;
}

} // namespace

std::string GetFolderOfFile(const std::string& strFilePath)
{
    std::string strDrive;
    std::size_t start = 0;
    if (platform::kHasDriveLetters && strFilePath.size() >= 2 && strFilePath[1] == ':')
    {
        strDrive = strFilePath.substr(0, 2);
        start = 2;
    }
    std::size_t lastSep = std::string::npos;
    for (std::size_t i = start; i < strFilePath.size(); ++i)
    {
        if (platform::IsPathSeparator(strFilePath[i]))
            lastSep = i;
    }
    std::string strDir;
    std::string strFile = strFilePath.substr(start);
    if (lastSep != std::string::npos)
    {
        strDir = strFilePath.substr(start, lastSep + 1 - start);
        strFile = strFilePath.substr(lastSep + 1);
    }
    // The file name and the extension are separate components, each of the same bound.
    std::size_t dot = strFile.rfind('.');
    std::size_t nameLength = dot == std::string::npos ? strFile.size() : dot;
    std::size_t extLength = dot == std::string::npos ? 0 : strFile.size() - dot;
    if (strDir.size() > kMaxPathComponent || nameLength > kMaxPathComponent ||
        extLength > kMaxPathComponent)
        return std::string();
    // No drive: the folder as it stands, so a relative folder never becomes a rooted one.
    if (strDrive.empty() || strDir.empty() || platform::IsPathSeparator(strDir[0]))
        return strDrive + strDir;
    return strDrive + platform::kPathSeparator + strDir;
}

void SetModuleFolder(const std::string& strFolder)
{
    std::lock_guard<std::mutex> guard(ModuleFolder().lock);
    ModuleFolder().folder = strFolder;
}

std::string GetModuleFolder()
{
    std::lock_guard<std::mutex> guard(ModuleFolder().lock);
    return ModuleFolder().folder;
}

std::string MakeFilePath(const std::string& strFolder, const std::string& strName)
{
    if (strFolder.empty())
        return strName;
    if (strFolder.back() == platform::kPathSeparator)
        return strFolder + strName;
    return strFolder + platform::kPathSeparator + strName;
}

std::string GetXmlFolder()
{
    return MakeFilePath(GetModuleFolder(), "Xml");
}
std::string GetSettingsFilePath()
{
    return MakeFilePath(GetXmlFolder(), "AppSettings.xml");
}
std::string GetTrainListFilePath()
{
    return MakeFilePath(GetXmlFolder(), "CheckTrains2.xml");
}

bool CreateFolderPath(const std::string& strPath)
{
    if (strPath.size() > kMaxFolderPath)
        return false;
    std::string strSoFar;
    for (char c : strPath)
    {
        // Each folder on the way is made before its separator; a drive ("C:") never is.
        if (platform::IsPathSeparator(c) && !(strSoFar.size() > 0 && strSoFar.back() == ':'))
        {
            if (!strSoFar.empty())
                platform::CreateOneDirectory(strSoFar);
        }
        strSoFar += c;
    }
    return platform::CreateOneDirectory(strSoFar);
}
