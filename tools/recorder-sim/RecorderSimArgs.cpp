// The simulator's command-line options.
#include <cstdlib>

#include "RecorderSim.h"

namespace
{

bool ParseInt(const std::string& text, int nMin, int nMax, int& nValue)
{
    if (text.empty() || text.size() > 9)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    nValue = std::atoi(text.c_str());
    return nValue >= nMin && nValue <= nMax;
}

} // namespace

bool ParseRecorderSimArgs(const std::vector<std::string>& args, RecorderSimOptions& options,
                          std::string& strError)
{
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        const std::string& arg = args[i];
        auto value = [&](std::string& out)
        {
            if (i + 1 >= args.size())
            {
                strError = arg + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        auto number = [&](int nMin, int nMax, int& out)
        {
            std::string v;
            if (!value(v))
                return false;
            if (!ParseInt(v, nMin, nMax, out))
            {
                strError = arg + " takes a number from " + std::to_string(nMin) + " to " +
                           std::to_string(nMax) + ", not '" + v + "'";
                return false;
            }
            return true;
        };
        std::string v;
        int n = 0;
        if (arg == "--listen")
        {
            if (!value(options.m_strListen))
                return false;
        }
        else if (arg == "--port")
        {
            if (!number(0, 65534, n))
                return false;
            options.m_nPort = static_cast<std::uint16_t>(n);
        }
        else if (arg == "--pages")
        {
            if (!number(0, 100000, options.m_nPages))
                return false;
        }
        else if (arg == "--items")
        {
            if (!number(0, 100000, options.m_nItemsPerPage))
                return false;
        }
        else if (arg == "--days")
        {
            if (!number(0, 36500, options.m_nDays))
                return false;
        }
        else if (arg == "--block-every")
        {
            if (!number(0, 1000000, options.m_nBlockEvery))
                return false;
        }
        else if (arg == "--no-korean")
            options.m_bKorean = false;
        else if (arg == "--user")
        {
            if (!value(options.m_strUser))
                return false;
        }
        else if (arg == "--password")
        {
            if (!value(options.m_strPassword))
                return false;
        }
        else if (arg == "--chunked")
            options.m_bChunked = true;
        else if (arg == "--delay-ms")
        {
            if (!number(0, 600000, options.m_nDelayMs))
                return false;
        }
        else if (arg == "--fault")
        {
            if (!value(v))
                return false;
            if (v == "none")
                options.m_fault = RecorderSimOptions::Fault::kNone;
            else if (v == "silent")
                options.m_fault = RecorderSimOptions::Fault::kSilent;
            else if (v == "close")
                options.m_fault = RecorderSimOptions::Fault::kCloseEarly;
            else if (v == "500")
                options.m_fault = RecorderSimOptions::Fault::kStatus500;
            else
            {
                strError = "--fault takes none, silent, close or 500, not '" + v + "'";
                return false;
            }
        }
        else if (arg == "--fault-page")
        {
            if (!number(1, 100000, options.m_nFaultPage))
                return false;
        }
        else if (arg == "--tls")
            options.m_bTls = true;
        else if (arg == "--line")
        {
            if (!number(1, 1000, options.m_nLine))
                return false;
        }
        else if (arg == "--trains-file")
        {
            if (!value(options.m_strTrainsFile))
                return false;
        }
        else if (arg == "--name")
        {
            if (!value(options.m_strName))
                return false;
        }
        else
        {
            strError = "unknown option '" + arg + "'";
            return false;
        }
    }
    return true;
}
