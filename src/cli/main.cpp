// kelmora-cli: the main dialog's commands on a terminal, for scripts, cron and monitoring.
#include <iostream>

#include "cli/CliContext.h"
#include "platform/Codepage.h"
#include "platform/CrtNumbers.h"

namespace
{

struct CliCommand
{
    const char* pszName;
    const char* pszSummary;
    int (*pfnRun)(CCliContext&);
};

const CliCommand kCommands[] = {
    {"probe", "test whether the recorder's port accepts a TCP connection within the wait",
     RunProbe},
    {"info", "[--path PATH] [--auth query|basic|digest] [--tls] [--raw]: the information page",
     RunInfo},
    {"errors", "scan the whole log for blocked recordings (Record Block), by date and hour",
     RunErrors},
    {"log", "[--output FILE] [--utf8]: the whole log as the viewer's CSV export (code page 949)",
     RunLog},
    {"paths", "FILE [--indexed NAME]...: list the path and text of every element of an XML file",
     RunPaths},
    {"settings", "list | get NAME | set NAME VALUE: the saved settings (AppSettings.xml)",
     RunSettings},
    {"linecheck",
     "[--trains FILE] [--format table|csv|json] [--output FILE]: check every train of the line",
     RunLineCheck},
};

void PrintHelp(std::ostream& os)
{
    os << "Usage: kelmora-cli [options] COMMAND [arguments]\n"
          "\n"
          "Commands:\n";
    for (const CliCommand& cmd : kCommands)
        os << "  " << cmd.pszName << std::string(12 - std::string(cmd.pszName).size(), ' ')
           << cmd.pszSummary << '\n';
    os << "\n"
          "Options (they override the saved settings for this run and are never saved):\n"
          "  --address HOST     recorder address (dotted IPv4 or host name)\n"
          "  --port PORT        recorder port\n"
          "  --user USER        recorder user\n"
          "  --password TEXT    recorder password\n"
          "  --wait SECONDS     wait for every network step (setting TcpWaitSeconds)\n"
          "  --data-dir DIR     folder holding AppSettings.xml and CheckTrains2.xml\n"
          "                     (default: the folder Xml beside the program)\n"
          "  --help             this text\n"
          "\n"
          "Exit codes: 0 success, 1 the check failed or found a fault, 2 usage error.\n";
}

// The run's text options are typed in the terminal's UTF-8; the core holds code page 949.
std::string FromTerminal(const std::string& s)
{
    return platform::Utf8ToCp949(s);
}

} // namespace

CCliFields::CCliFields(CLocalAppSettings& settings, const CliOptions& options)
{
    m_strAddress =
        options.m_strAddress ? FromTerminal(*options.m_strAddress) : settings.GetVornAddress();
    m_strPort = options.m_strPort ? *options.m_strPort
                                  : platform::FormatInt(settings.GetLong(
                                        0, settingkeys::kVornPort, settingkeys::kDefaultPort));
    m_strUser = options.m_strUser ? FromTerminal(*options.m_strUser) : settings.GetVornUser();
    m_strPassword =
        options.m_strPassword ? FromTerminal(*options.m_strPassword) : settings.GetVornPassword();
}

int main(int argc, char** argv)
{
    CliOptions options;
    std::string strError;
    if (!ParseCliOptions(argc, argv, options, strError))
    {
        std::cerr << "kelmora-cli: " << strError << " (see --help)\n";
        return kExitUsage;
    }
    if (options.m_bHelp)
    {
        PrintHelp(std::cout);
        return kExitOk;
    }
    if (options.m_strCommand.empty())
    {
        std::cerr << "kelmora-cli: no command given (see --help)\n";
        return kExitUsage;
    }
    const CliCommand* command = nullptr;
    for (const CliCommand& cmd : kCommands)
        if (options.m_strCommand == cmd.pszName)
            command = &cmd;
    if (command == nullptr)
    {
        std::cerr << "kelmora-cli: unknown command '" << options.m_strCommand << "' (see --help)\n";
        return kExitUsage;
    }

    CKelmoraApp app;
    app.InitInstance(options.m_strDataDir);
    // This run's overrides live in memory only: the user's settings file stays as it is.
    app.m_settings.SetAutoSave(false);
    if (options.m_nWaitSeconds)
        app.m_settings.SetLong(0, settingkeys::kTcpWaitSeconds, *options.m_nWaitSeconds);
    CCliFields fields(app.m_settings, options);
    CCliUserInterface ui(std::cout, std::cerr);
    CCliContext ctx{app, options, fields, ui, std::cout, std::cerr};
    return command->pfnRun(ctx);
}
