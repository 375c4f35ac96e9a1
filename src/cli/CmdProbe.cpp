// kelmora-cli probe: the main dialog's connection test.
#include <ostream>

#include "app/MainCommands.h"
#include "cli/CliContext.h"

int RunProbe(CCliContext& ctx)
{
    if (!ctx.options.m_args.empty())
    {
        ctx.err << "kelmora-cli: probe takes no arguments ('" << ctx.options.m_args[0] << "')\n";
        return kExitUsage;
    }
    CMainCommands commands(ctx.app.m_settings, ctx.fields, ctx.ui);
    return commands.OnBnClickedConnectionTest() ? kExitOk : kExitFailed;
}
