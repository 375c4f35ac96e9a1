// kelmora-cli settings list | get NAME | set NAME VALUE: category 0 of AppSettings.xml,
// so that a value the program never writes (TcpWaitSeconds) can be set without an editor.
#include <ostream>

#include "cli/CliContext.h"
#include "platform/Codepage.h"

int RunSettings(CCliContext& ctx)
{
    const std::vector<std::string>& args = ctx.options.m_args;
    const std::string verb = args.empty() ? std::string() : args[0];
    std::size_t nExpected = verb == "list" ? 1 : verb == "get" ? 2 : verb == "set" ? 3 : 0;
    if (nExpected == 0 || args.size() != nExpected)
    {
        ctx.err << "kelmora-cli: usage: settings list | get NAME | set NAME VALUE\n";
        return kExitUsage;
    }
    // The file as it is: none of this run's overrides (--wait) are shown or written.
    CLocalAppSettings& settings = ctx.app.m_settings;
    settings.Load(ctx.app.GetSettingsFilePath());
    if (verb == "list")
    {
        CLocalSettings::CategoryMap all = settings.GetAll();
        for (const auto& entry : all[0])
            ctx.out << platform::Cp949ToUtf8(entry.first) << '='
                    << platform::Cp949ToUtf8(entry.second) << '\n';
        return kExitOk;
    }
    std::string strName = platform::Utf8ToCp949(args[1]);
    if (verb == "get")
    {
        CLocalSettings::CategoryMap all = settings.GetAll();
        auto found = all[0].find(strName);
        if (found == all[0].end())
        {
            ctx.err << "kelmora-cli: no setting " << args[1] << '\n';
            return kExitFailed;
        }
        ctx.out << platform::Cp949ToUtf8(found->second) << '\n';
        return kExitOk;
    }
    // set: the one command that writes the file.
    settings.SetString(0, strName, platform::Utf8ToCp949(args[2]));
    if (!settings.Save(ctx.app.GetSettingsFilePath()))
    {
        ctx.err << "kelmora-cli: cannot write " << ctx.app.GetSettingsFilePath() << '\n';
        return kExitFailed;
    }
    return kExitOk;
}
