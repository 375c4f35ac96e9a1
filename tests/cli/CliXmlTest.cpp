#include <gtest/gtest.h>

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

TEST(CliPaths, ListsEntriesCountsAndTheParserError)
{
    CTempDir dir;
    // "전동차" in code page 949, a tab and a line feed inside a text.
    WriteFileBytes(dir.File("page.xml"),
                   "<System><Log><TotalPage>2</TotalPage>"
                   "<LogItem><Content>a\tb\\c</Content></LogItem>"
                   "<LogItem><Comment>\xC0\xFC\xB5\xBF\xC2\xF7</Comment></LogItem>"
                   "</Log></System>");
    ProcessResult r = Cli(dir, {"paths", dir.File("page.xml"), "--indexed", "LogItem"});
    EXPECT_EQ(r.nExitCode, 0) << r.strErr;
    EXPECT_EQ(r.strOut, "$System$\t\n"
                        "$System$$Log$\t\n"
                        "$System$$Log$$TotalPage$\t2\n"
                        "$System$$Log$$LogItem%1$\t\n"
                        "$System$$Log$$LogItem%1$$Content$\ta\\tb\\\\c\n"
                        "$System$$Log$$LogItem%2$\t\n"
                        "$System$$Log$$LogItem%2$$Comment$\t전동차\n"
                        "$System$$Log$$LogItem$\t2\n");

    // A broken document: what was built before the error, then the error on its own line.
    WriteFileBytes(dir.File("bad.xml"), "<a><b>text");
    r = Cli(dir, {"paths", dir.File("bad.xml")});
    EXPECT_EQ(r.nExitCode, 0);
    EXPECT_NE(r.strOut.find("$a$$b$\t"), std::string::npos);
    EXPECT_NE(r.strOut.find("[error near line 1]: "), std::string::npos) << r.strOut;

    WriteFileBytes(dir.File("none.xml"), "no markup here");
    EXPECT_EQ(Cli(dir, {"paths", dir.File("none.xml")}).nExitCode, 1);
    EXPECT_EQ(Cli(dir, {"paths", dir.File("missing.xml")}).nExitCode, 1);
    EXPECT_EQ(Cli(dir, {"paths"}).nExitCode, 2);
    EXPECT_EQ(Cli(dir, {"paths", dir.File("page.xml"), "--indexed"}).nExitCode, 2);
}

TEST(CliSettings, SetGetListWriteOnlyWhatWasAsked)
{
    CTempDir data;
    EXPECT_EQ(Cli(data, {"settings", "list"}).strOut, "");
    EXPECT_EQ(Cli(data, {"settings", "get", "TcpWaitSeconds"}).nExitCode, 1);
    ProcessResult set = Cli(data, {"--wait", "9", "settings", "set", "TcpWaitSeconds", "3"});
    EXPECT_EQ(set.nExitCode, 0) << set.strErr;
    EXPECT_EQ(Cli(data, {"settings", "set", "VornUser", "관리자"}).nExitCode, 0);
    // The override of --wait is neither shown nor written.
    EXPECT_EQ(Cli(data, {"--wait", "9", "settings", "get", "TcpWaitSeconds"}).strOut, "3\n");
    EXPECT_EQ(Cli(data, {"settings", "list"}).strOut, "TcpWaitSeconds=3\nVornUser=관리자\n");
    std::string file = ReadFileOrEmpty(data.File("AppSettings.xml"));
    EXPECT_NE(file.find("<Value>\xB0\xFC\xB8\xAE\xC0\xDA</Value>"), std::string::npos);
    EXPECT_EQ(file.find("VornPort"), std::string::npos);

    // A probe with overrides leaves the file byte for byte as it was.
    ProcessResult probe = Cli(data, {"--port", "1", "--address", "127.0.0.1", "probe"});
    EXPECT_EQ(probe.nExitCode, 1);
    EXPECT_EQ(ReadFileOrEmpty(data.File("AppSettings.xml")), file);

    for (std::vector<std::string> bad : {std::vector<std::string>{"settings"},
                                         {"settings", "get"},
                                         {"settings", "set", "x"},
                                         {"settings", "drop", "x"}})
        EXPECT_EQ(Cli(data, bad).nExitCode, 2);
}
