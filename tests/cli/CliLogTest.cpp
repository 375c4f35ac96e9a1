// kelmora-cli log against the scripted loopback server: the viewer's CSV bytes on stdout or
// in a file, the failure texts and the exit codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "platform/Codepage.h"
#include "support/LogPageServer.h"
#include "support/LoopbackListener.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"
#include "support/TestHttpServer.h"

namespace
{

std::string K(const char* utf8)
{
    return platform::Utf8ToCp949(utf8);
}

using CLogServer = CLogPageServer;

LogItemFields Entry(int index, const char* content)
{
    return LogItemFields{std::to_string(index),
                         "2024-05-0" + std::to_string(index),
                         "08:15:00",
                         K("녹화"),
                         K(content),
                         ""};
}

ProcessResult Cli(const CTempDir& data, std::uint16_t nPort, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--data-dir", data.Path(), "--address", "127.0.0.1", "--port",
                               std::to_string(nPort), "--wait", "1", "log"});
    return RunProcess(KELMORA_CLI_PATH, args);
}

// The viewer's CSV of entries 1 and 2 (newest first on the page), in code page 949.
std::string ExpectedCsv()
{
    return K("ID,날짜,시간,종류,내용,비고\r\n"
             "1,2024-05-01,08:15:00,녹화,시작,\r\n"
             "2,2024-05-02,08:15:00,녹화,\"정지, 재시작\",\r\n");
}

} // namespace

TEST(CliLog, WritesTheViewersCsvToStdoutOrAFile)
{
    CLogServer log;
    log.pages[1] = TestHttpAnswer::Page(
        200, MakeLogPageXml("1", {Entry(2, "정지, 재시작"), Entry(1, "시작"), Entry(1, "dup")}));
    CTempDir data;

    ProcessResult cp949 = Cli(data, log.server.Port(), {});
    EXPECT_EQ(cp949.nExitCode, 0) << cp949.strErr;
    EXPECT_EQ(cp949.strOut, ExpectedCsv());
    EXPECT_EQ(cp949.strErr, "");

    ProcessResult utf8 = Cli(data, log.server.Port(), {"--utf8"});
    EXPECT_EQ(utf8.nExitCode, 0) << utf8.strErr;
    EXPECT_EQ(utf8.strOut, platform::Cp949ToUtf8(ExpectedCsv()));

    const std::string path = data.File("log.csv");
    WriteFileBytes(path, "previous content");
    ProcessResult file = Cli(data, log.server.Port(), {"--output", path});
    EXPECT_EQ(file.nExitCode, 0) << file.strErr;
    EXPECT_EQ(file.strOut, "");
    EXPECT_EQ(ReadFileOrEmpty(path), ExpectedCsv());

    ProcessResult inlineValue = Cli(data, log.server.Port(), {"--utf8", "--output=" + path});
    EXPECT_EQ(inlineValue.nExitCode, 0) << inlineValue.strErr;
    EXPECT_EQ(ReadFileOrEmpty(path), platform::Cp949ToUtf8(ExpectedCsv()));
}

TEST(CliLog, AFailureGoesToStderrExitsOneAndWhatWasReadIsStillWritten)
{
    CLogServer log;
    log.pages[1] = TestHttpAnswer::Page(
        200, MakeLogPageXml("2", {Entry(2, "정지, 재시작"), Entry(1, "시작")}));
    log.pages[2] = TestHttpAnswer::Page(500, "broken");
    CTempDir data;
    ProcessResult r = Cli(data, log.server.Port(), {});
    EXPECT_EQ(r.nExitCode, 1);
    EXPECT_EQ(r.strErr, "정보를 얻어오는데 실패하였습니다.(페이지: 2, 500).\n");
    EXPECT_EQ(r.strOut, ExpectedCsv());

    ProcessResult refused = Cli(data, FindClosedLoopbackPort(), {});
    EXPECT_EQ(refused.nExitCode, 1);
    EXPECT_EQ(refused.strErr, "연결에 실패하였습니다.(페이지: 1)\n");
    EXPECT_EQ(refused.strOut, K("ID,날짜,시간,종류,내용,비고\r\n"));

    // A file that cannot be written is a failure too, even when the log was read.
    log.pages[2] = TestHttpAnswer::Page(200, MakeLogPageXml("", {}));
    ProcessResult unwritable =
        Cli(data, log.server.Port(), {"--output", data.File("missing-folder/log.csv")});
    EXPECT_EQ(unwritable.nExitCode, 1);
    EXPECT_NE(unwritable.strErr.find("cannot write"), std::string::npos) << unwritable.strErr;
}

TEST(CliLog, UsageErrorsExitTwo)
{
    CTempDir data;
    for (std::vector<std::string> args :
         {std::vector<std::string>{"--output"}, std::vector<std::string>{"--output="},
          std::vector<std::string>{"extra"}})
    {
        ProcessResult r = Cli(data, FindClosedLoopbackPort(), args);
        EXPECT_EQ(r.nExitCode, 2) << args[0];
        EXPECT_EQ(std::count(r.strErr.begin(), r.strErr.end(), '\n'), 1) << r.strErr;
        EXPECT_EQ(r.strOut, "");
    }
}
