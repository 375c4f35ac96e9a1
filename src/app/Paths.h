// Where the program keeps its files: the folder "Xml" beside the executable.
#pragma once

#include <string>

// Longest path component that the folder helpers accept, and the longest path that
// CreateFolderPath works on; longer input is refused (empty result / false).
constexpr std::size_t kMaxPathComponent = 255;
constexpr std::size_t kMaxFolderPath = 255;

// Drive and folder of a file path, with its trailing separator ("C:\Tools\" for
// C:\Tools\app.exe, "/opt/kelmora/" for /opt/kelmora/kelmora). Empty when a component
// is longer than kMaxPathComponent.
std::string GetFolderOfFile(const std::string& strFilePath);

// The executable's folder, set once at start-up; empty until then.
void SetModuleFolder(const std::string& strFolder);
std::string GetModuleFolder();

// folder + separator + name; an empty folder gives the name alone and a folder that
// already ends with the separator gets none added.
std::string MakeFilePath(const std::string& strFolder, const std::string& strName);

std::string GetXmlFolder();
std::string GetSettingsFilePath();
std::string GetTrainListFilePath();

// Creates every missing folder of the path; true when the last folder was created.
// Intermediate failures (folder exists, no right) are ignored.
bool CreateFolderPath(const std::string& strPath);
