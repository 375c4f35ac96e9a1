// kelmora-cli log: the main dialog's system log viewer, written as its CSV export.
#include <ostream>

#include "app/MainCommands.h"
#include "cli/CliContext.h"

int RunLog(CCliContext& ctx)
{
    std::string strOutput;
    bool bUtf8 = false;
    const std::vector<std::string>& args = ctx.options.m_args;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        const std::string& arg = args[i];
        if (arg == "--output" || arg.rfind("--output=", 0) == 0)
        {
            // "--output FILE" or "--output=FILE", as the global options take values.
            if (arg == "--output")
                strOutput = i + 1 < args.size() ? args[++i] : std::string();
            else
                strOutput = arg.substr(9);
            if (strOutput.empty())
            {
                ctx.err << "kelmora-cli: --output needs a value\n";
                return kExitUsage;
            }
        }
        else if (arg == "--utf8")
            bUtf8 = true;
        else
        {
            ctx.err << "kelmora-cli: log: unexpected argument '" << arg << "'\n";
            return kExitUsage;
        }
    }
    ctx.ui.SetLogOutput(strOutput, bUtf8);
    CMainCommands commands(ctx.app.m_settings, ctx.fields, ctx.ui);
    // What was read is written even when the log could not be read to its end.
    bool bComplete = commands.OnBnClickedSystemLog();
    if (ctx.ui.LogWriteFailed())
    {
        ctx.err << "kelmora-cli: log: cannot write " << (strOutput.empty() ? "stdout" : strOutput)
                << '\n';
        return kExitFailed;
    }
    return bComplete ? kExitOk : kExitFailed;
}
