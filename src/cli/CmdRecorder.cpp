// kelmora-cli info and errors: the main dialog's system information and recording-error
// commands.
#include <ostream>

#include "app/MainCommands.h"
#include "cli/CliContext.h"

int RunInfo(CCliContext& ctx)
{
    std::string strPath = kInformationPagePath;
    int nAuthMode = HTTP_AUTH_QUERY;
    bool bTls = false;
    bool bRaw = false;
    const std::vector<std::string>& args = ctx.options.m_args;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        const std::string& arg = args[i];
        if ((arg == "--path" || arg == "--auth") && i + 1 >= args.size())
        {
            ctx.err << "kelmora-cli: " << arg << " needs a value\n";
            return kExitUsage;
        }
        if (arg == "--path")
        {
            strPath = args[++i];
            if (strPath.empty() || strPath[0] != '/')
            {
                ctx.err << "kelmora-cli: --path must begin with '/'\n";
                return kExitUsage;
            }
        }
        else if (arg == "--auth")
        {
            const std::string& mode = args[++i];
            if (mode == "query")
                nAuthMode = HTTP_AUTH_QUERY;
            else if (mode == "basic")
                nAuthMode = HTTP_AUTH_BASIC;
            else if (mode == "digest")
                nAuthMode = HTTP_AUTH_DIGEST;
            else
            {
                ctx.err << "kelmora-cli: --auth takes query, basic or digest, not '" << mode
                        << "'\n";
                return kExitUsage;
            }
        }
        else if (arg == "--tls")
            bTls = true;
        else if (arg == "--raw")
            bRaw = true;
        else
        {
            ctx.err << "kelmora-cli: info: unexpected argument '" << arg << "'\n";
            return kExitUsage;
        }
    }
    ctx.ui.SetRawText(bRaw);
    CMainCommands commands(ctx.app.m_settings, ctx.fields, ctx.ui);
    return commands.OnBnClickedSystemInformation(strPath.c_str(), nAuthMode, bTls) ? kExitOk
                                                                                   : kExitFailed;
}

int RunErrors(CCliContext& ctx)
{
    if (!ctx.options.m_args.empty())
    {
        ctx.err << "kelmora-cli: errors takes no arguments ('" << ctx.options.m_args[0] << "')\n";
        return kExitUsage;
    }
    ctx.ui.SetTerminalLineEnds(true);
    CMainCommands commands(ctx.app.m_settings, ctx.fields, ctx.ui);
    CMainCommands::RecordingErrorsOutcome outcome = commands.OnBnClickedRecordingErrors();
    // Healthy only when the whole log was read and nothing was found.
    return outcome.m_bLogReadCompletely && !outcome.m_bErrorsFound ? kExitOk : kExitFailed;
}
