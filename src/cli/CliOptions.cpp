#include "cli/CliOptions.h"

#include <climits>
#include <cstring>

namespace
{

bool IsDigits(const std::string& s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace

bool ParseCliOptions(int argc, const char* const* argv, CliOptions& options, std::string& strError)
{
    for (int i = 1; i < argc; ++i)
    {
        std::string arg = argv[i];
        std::string value;
        bool bHasInlineValue = false;
        std::size_t eq = arg.find('=');
        if (arg.rfind("--", 0) == 0 && eq != std::string::npos)
        {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
            bHasInlineValue = true;
        }
        auto takeValue = [&](std::string& out) -> bool
        {
            if (bHasInlineValue)
            {
                out = value;
                return true;
            }
            if (i + 1 >= argc)
            {
                strError = "option " + arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "--help" || arg == "-h")
            options.m_bHelp = true;
        else if (arg == "--address")
        {
            if (!takeValue(v))
                return false;
            options.m_strAddress = v;
        }
        else if (arg == "--port")
        {
            if (!takeValue(v))
                return false;
            // Digits only, as the dialog's port field accepts; the range is not limited.
            if (!v.empty() && !IsDigits(v))
            {
                strError = "--port takes a decimal number, not '" + v + "'";
                return false;
            }
            options.m_strPort = v;
        }
        else if (arg == "--user")
        {
            if (!takeValue(v))
                return false;
            options.m_strUser = v;
        }
        else if (arg == "--password")
        {
            if (!takeValue(v))
                return false;
            options.m_strPassword = v;
        }
        else if (arg == "--wait")
        {
            if (!takeValue(v))
                return false;
            if (!IsDigits(v) || v.size() > 9)
            {
                strError = "--wait takes a number of seconds, not '" + v + "'";
                return false;
            }
            options.m_nWaitSeconds = std::stoi(v);
        }
        else if (arg == "--data-dir")
        {
            if (!takeValue(v))
                return false;
            if (v.empty())
            {
                strError = "--data-dir needs a folder";
                return false;
            }
            options.m_strDataDir = v;
        }
        else if (options.m_strCommand.empty() && arg.rfind("-", 0) != 0)
            options.m_strCommand = arg;
        else
            options.m_args.push_back(argv[i]); // the command judges its own arguments
    }
    return true;
}
