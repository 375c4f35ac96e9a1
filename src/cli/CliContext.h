// Everything a kelmora-cli command works with for one run.
#pragma once

#include <iosfwd>

#include "app/ConnectionInfo.h"
#include "app/KelmoraApp.h"
#include "cli/CliOptions.h"
#include "cli/CliUserInterface.h"

// The four connection fields as the saved settings hold them, with the run's overrides.
class CCliFields : public IConnectionFields
{
public:
    CCliFields(CLocalAppSettings& settings, const CliOptions& options);
    std::string GetAddressText() const override { return m_strAddress; }
    std::string GetPortText() const override { return m_strPort; }
    std::string GetUserText() const override { return m_strUser; }
    std::string GetPasswordText() const override { return m_strPassword; }

private:
    std::string m_strAddress;
    std::string m_strPort;
    std::string m_strUser;
    std::string m_strPassword;
};

struct CCliContext
{
    CKelmoraApp& app;
    const CliOptions& options;
    const CCliFields& fields;
    CCliUserInterface& ui; // ShowText prints to out
    std::ostream& out;
    std::ostream& err;
};

// Exit codes of every command.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// The commands; each returns its exit code.
int RunProbe(CCliContext& ctx);
int RunPaths(CCliContext& ctx);
int RunInfo(CCliContext& ctx);
int RunErrors(CCliContext& ctx);
int RunLog(CCliContext& ctx);
int RunSettings(CCliContext& ctx);
int RunLineCheck(CCliContext& ctx);
