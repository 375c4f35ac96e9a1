// Files and folders: the module path, folder checks, whole-file read and atomic replace.
#pragma once

#include <string>

namespace platform
{

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
constexpr bool kHasDriveLetters = true;
#else
constexpr char kPathSeparator = '/';
constexpr bool kHasDriveLetters = false;
#endif

// A character that separates folders in a path on this platform.
bool IsPathSeparator(char c);

// Full path of the running executable; empty when it cannot be told.
std::string GetModuleFilePath();

bool PathExists(const std::string& strPath);
bool IsDirectory(const std::string& strPath);
// Creates one folder; false when it exists already or cannot be made.
bool CreateOneDirectory(const std::string& strPath);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& strPath, std::string& strContent);

// Writes a whole file through a temporary file in the same folder, flushed to disk and
// renamed over the target, so an interrupted save leaves the previous file whole.
// false (and the target untouched) when any step fails.
bool ReplaceFileAtomically(const std::string& strPath, const std::string& strContent);

// Test hook only: the next ReplaceFileAtomically writes nBytes bytes and then fails as a full
// disk would. A negative count disarms it.
void FailNextReplaceAfterBytesForTest(long long nBytes);

} // namespace platform
