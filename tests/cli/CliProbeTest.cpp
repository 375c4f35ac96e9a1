#include <gtest/gtest.h>

#include "support/LoopbackListener.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

namespace
{

ProcessResult Cli(const CTempDir& data, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--data-dir", data.Path()});
    return RunProcess(KELMORA_CLI_PATH, args);
}

} // namespace

TEST(CliProbe, ReportsSuccessAndFailureWithExitCodes)
{
    CTempDir data;
    CLoopbackListener listener;
    ProcessResult ok =
        Cli(data, {"probe", "--address", "127.0.0.1", "--port", std::to_string(listener.Port())});
    EXPECT_EQ(ok.nExitCode, 0) << ok.strErr;
    EXPECT_EQ(ok.strOut, "연결에 성공하였습니다.\n");

    for (const std::string& port : {std::to_string(FindClosedLoopbackPort()), std::string("0")})
    {
        ProcessResult failed = Cli(data, {"probe", "--address", "127.0.0.1", "--port", port});
        EXPECT_EQ(failed.nExitCode, 1) << port;
        EXPECT_EQ(failed.strErr, "연결에 실패하였습니다.\n") << port;
        EXPECT_EQ(failed.strOut, "");
    }
}

TEST(CliProbe, OverridesAreNeverSaved)
{
    CTempDir data;
    CLoopbackListener listener;
    ProcessResult r = Cli(
        data, {"--port=" + std::to_string(listener.Port()), "--wait", "2", "--user", "x", "probe"});
    EXPECT_EQ(r.nExitCode, 0) << r.strErr;
    EXPECT_FALSE(ReadFileOrEmpty(data.File("AppSettings.xml")).find("VornPort") !=
                 std::string::npos);
}

TEST(CliProbe, UsageErrorsExitTwoWithOneLine)
{
    CTempDir data;
    struct Case
    {
        std::vector<std::string> args;
        const char* fragment;
    } cases[] = {
        {{}, "no command"},
        {{"frobnicate"}, "unknown command"},
        {{"probe", "--port", "80x"}, "--port"},
        {{"probe", "--wait", "-1"}, "--wait"},
        {{"probe", "--address"}, "needs a value"},
        {{"probe", "extra"}, "no arguments"},
    };
    for (const Case& c : cases)
    {
        ProcessResult r = Cli(data, c.args);
        EXPECT_EQ(r.nExitCode, 2) << c.fragment;
        EXPECT_NE(r.strErr.find(c.fragment), std::string::npos) << r.strErr;
        EXPECT_EQ(std::count(r.strErr.begin(), r.strErr.end(), '\n'), 1) << r.strErr;
    }
}

TEST(CliProbe, HelpListsCommandsOptionsAndExitCodes)
{
    CTempDir data;
    ProcessResult r = Cli(data, {"--help"});
    EXPECT_EQ(r.nExitCode, 0);
    for (const char* word : {"probe", "--address", "--port", "--user", "--password", "--wait",
                             "--data-dir", "Exit codes"})
        EXPECT_NE(r.strOut.find(word), std::string::npos) << word;
}
