// Command-line options of kelmora-cli. Global options override the saved settings for
// one run and are never saved.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CliOptions
{
    std::optional<std::string> m_strAddress;
    std::optional<std::string> m_strPort;
    std::optional<std::string> m_strUser;
    std::optional<std::string> m_strPassword;
    std::optional<int> m_nWaitSeconds;
    std::string m_strDataDir;
    bool m_bHelp = false;
    std::string m_strCommand;
    std::vector<std::string> m_args; // the command's own arguments and options
};

// Parses argv; false with a one-line reason in strError on a usage error.
bool ParseCliOptions(int argc, const char* const* argv, CliOptions& options, std::string& strError);
