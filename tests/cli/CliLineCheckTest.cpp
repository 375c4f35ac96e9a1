#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LineSim.h"
#include "app/Texts.h"
#include "data/TrainListText.h"
#include "platform/Codepage.h"
#include "platform/Ping.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

namespace
{

ProcessResult Cli(const CTempDir& data, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--data-dir", data.Path(), "--wait", "1", "linecheck"});
    return RunProcess(KELMORA_CLI_PATH, args);
}

std::vector<std::string> Lines(const std::string& strText, const std::string& strEnd)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < strText.size();)
    {
        std::size_t end = strText.find(strEnd, at);
        if (end == std::string::npos)
            end = strText.size();
        lines.push_back(strText.substr(at, end - at));
        at = end + strEnd.size();
    }
    return lines;
}

// Terminal columns of a UTF-8 text: Hangul syllables take two, ASCII one.
int Columns(const std::string& strUtf8)
{
    int n = 0;
    for (std::size_t i = 0; i < strUtf8.size();)
    {
        unsigned char c = static_cast<unsigned char>(strUtf8[i]);
        if (c < 0x80)
        {
            ++n;
            ++i;
        }
        else
        {
            n += 2; // every non-ASCII text here is Hangul (three bytes each)
            i += 3;
        }
    }
    return n;
}

bool PingAvailable()
{
    return platform::GetPingSocketKind() != platform::PingSocketKind::kNone;
}

} // namespace

TEST(CliLineCheck, ThreeFormatsOfAMixedLine)
{
    LineSimOptions options;
    options.m_nTrains = 10; // one train of every kind, some without remote desktop
    CLineSim line(options);
    std::string strError;
    ASSERT_TRUE(line.Start(strError)) << strError;
    TrainMap trains = line.MakeTrainMap();
    trains[1].SetSetNumber("2\"0\\1"); // JSON must escape both
    CTempDir data;
    ASSERT_TRUE(SaveTrainListFile(data.File("CheckTrains2.xml"), trains));

    const std::string strFailed401 = "로그 확인 실패(페이지: 1, 401)";

    ProcessResult table = Cli(data, {});
    EXPECT_EQ(table.nExitCode, 1) << table.strErr;
    std::vector<std::string> rows = Lines(table.strOut, "\n");
    ASSERT_EQ(rows.size(), 11u) << table.strOut;
    for (const char* title : {"ID", "편성번호", "방향", "주소", "핑확인", "포트확인",
                              "원격포트확인", "녹화에러", "확인완료"})
        EXPECT_NE(rows[0].find(title), std::string::npos) << title;
    // The check time starts in the same terminal column on every row, Hangul or not.
    const int nTimeColumn = Columns(rows[0].substr(0, rows[0].find("확인완료")));
    for (std::size_t r = 1; r < rows.size(); ++r)
    {
        std::size_t at = rows[r].rfind(" 20");
        ASSERT_NE(at, std::string::npos) << rows[r];
        EXPECT_EQ(Columns(rows[r].substr(0, at + 1)), nTimeColumn) << rows[r];
        EXPECT_EQ(rows[r].find(std::to_string(r)), 0u) << rows[r];
    }
    EXPECT_NE(rows[7].find(strFailed401), std::string::npos) << rows[7];

    CTempDir out;
    ProcessResult csv = Cli(data, {"--format", "csv", "--output", out.File("line.csv")});
    EXPECT_EQ(csv.nExitCode, 1) << csv.strErr;
    EXPECT_EQ(csv.strOut, "");
    std::string strCsv = ReadFileOrEmpty(out.File("line.csv"));
    std::vector<std::string> csvLines = Lines(strCsv, "\r\n");
    ASSERT_EQ(csvLines.size(), 11u) << strCsv;
    EXPECT_EQ(csvLines[0].rfind(platform::Utf8ToCp949("ID,편성번호,방향,주소,"), 0), 0u)
        << platform::Cp949ToUtf8(csvLines[0]);
    EXPECT_NE(csvLines[7].find(platform::Utf8ToCp949(strFailed401)), std::string::npos);

    ProcessResult json = Cli(data, {"--format=json"});
    EXPECT_EQ(json.nExitCode, 1) << json.strErr;
    EXPECT_EQ(json.strOut.front(), '[');
    EXPECT_EQ(json.strOut.substr(json.strOut.size() - 2), "]\n");
    EXPECT_EQ(std::count(json.strOut.begin(), json.strOut.end(), '{'), 10);
    EXPECT_NE(json.strOut.find("{\"id\": 1, \"setNumber\": \"2\\\"0\\\\1\", \"direction\": 0, "
                               "\"address\": \"127.0.0.10\""),
              std::string::npos)
        << json.strOut;
    if (PingAvailable())
    {
        EXPECT_NE(json.strOut.find("\"id\": 3, \"setNumber\": \"203\", \"direction\": 0, "
                                   "\"address\": \"127.0.0.12\", \"ping\": 1, \"port\": 1, "
                                   "\"rdpPort\": -1, \"errorDates\": \"\", \"logFailure\": \"\""),
                  std::string::npos)
            << json.strOut;
        EXPECT_NE(json.strOut.find("\"logFailure\": \"" + strFailed401 + "\""), std::string::npos);
        EXPECT_EQ(json.strErr, "");
    }
    else
    {
        // Said once, in place of ten unexplained "X".
        EXPECT_EQ(json.strErr, platform::Cp949ToUtf8(GetText(TextId::kPingUnavailable)) + "\n");
    }
}

TEST(CliLineCheck, ExitZeroOnlyWhenEveryTrainPassesAndTwoForAnUnreadableFile)
{
    CTempDir data;
    ProcessResult missing = Cli(data, {});
    EXPECT_EQ(missing.nExitCode, 2);
    EXPECT_EQ(missing.strErr, "필요한 파일 정보를 확인할 수 없습니다.\n");
    EXPECT_EQ(missing.strOut, "");
    ASSERT_TRUE(WriteFileBytes(data.File("broken.xml"), "no xml here"));
    ProcessResult broken = Cli(data, {"--trains", data.File("broken.xml")});
    EXPECT_EQ(broken.nExitCode, 2);
    EXPECT_EQ(broken.strErr, "필요한 파일 정보를 확인할 수 없습니다.\n");

    ProcessResult usage = Cli(data, {"--format", "yaml"});
    EXPECT_EQ(usage.nExitCode, 2);
    EXPECT_NE(usage.strErr.find("--format"), std::string::npos);

    if (!PingAvailable())
        GTEST_SKIP() << "no ICMP socket may be opened here, so no train can pass its ping";
    LineSimOptions options;
    options.m_nTrains = 3;
    options.m_bAllHealthy = true;
    CLineSim line(options);
    std::string strError;
    ASSERT_TRUE(line.Start(strError)) << strError;
    ASSERT_TRUE(line.WriteTrainsFile(data.File("healthy.xml")));
    ProcessResult healthy = Cli(data, {"--trains", data.File("healthy.xml"), "--format", "json"});
    EXPECT_EQ(healthy.nExitCode, 0) << healthy.strOut << healthy.strErr;
    EXPECT_EQ(std::count(healthy.strOut.begin(), healthy.strOut.end(), '{'), 3);
}
