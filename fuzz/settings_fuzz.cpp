// Feeds arbitrary bytes to the settings store as its file, then saves and loads it again:
// no input may crash the load, and what was loaded must survive a save and a reload.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "platform/File.h"
#include "settings/LocalSettings.h"

namespace
{

// One scratch file per fuzzing process, in memory where the system has it.
std::string ScratchPath(const char* pszSuffix)
{
    const char* dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/kelmora-settings-fuzz-" + std::to_string(::getpid()) + pszSuffix;
}

// A value the file cannot carry as it is: the text of an element loses a leading or
// trailing run of CR, LF and tab, and a lone CR becomes a line feed.
bool IsFileSafe(const std::string& s)
{
    if (s.find('\r') != std::string::npos)
        return false;
    auto edge = [](char c) { return c == '\n' || c == '\t'; };
    return s.empty() || (!edge(s.front()) && !edge(s.back()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static const std::string first = ScratchPath(".xml");
    static const std::string second = ScratchPath("-2.xml");
    if (!platform::ReplaceFileAtomically(first,
                                         std::string(reinterpret_cast<const char*>(pData), nSize)))
        return 0;
    CLocalSettings loaded;
    loaded.SetAutoSave(false);
    loaded.Load(first);
    CLocalSettings::CategoryMap all = loaded.GetAll();
    bool bCarriable = true;
    for (const auto& category : all)
        for (const auto& entry : category.second)
            bCarriable = bCarriable && IsFileSafe(entry.first) && IsFileSafe(entry.second);
    if (!loaded.Save(second))
        __builtin_trap();
    CLocalSettings again;
    again.SetAutoSave(false);
    again.Load(second);
    if (bCarriable && again.GetAll() != all)
        __builtin_trap();
    return 0;
}
