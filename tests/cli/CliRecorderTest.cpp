// kelmora-cli info and errors against a simulated recorder.
#include <gtest/gtest.h>

#include "RecorderSim.h"
#include "support/LoopbackListener.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

namespace
{

ProcessResult Cli(const CTempDir& data, std::uint16_t nPort, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--data-dir", data.Path(), "--address", "127.0.0.1", "--port",
                               std::to_string(nPort), "--wait", "2"});
    return RunProcess(KELMORA_CLI_PATH, args);
}

struct CStartedSim
{
    explicit CStartedSim(RecorderSimOptions options) : sim(options)
    {
        std::string error;
        EXPECT_TRUE(sim.Start(error)) << error;
    }
    CRecorderSim sim;
};

} // namespace

TEST(CliRecorder, InfoPrintsTheBodyAndFailuresGoToStderr)
{
    CTempDir data;
    CStartedSim s(RecorderSimOptions{});
    ProcessResult info = Cli(data, s.sim.Port(), {"info"});
    EXPECT_EQ(info.nExitCode, 0) << info.strErr;
    // The body as the parser gives it, converted to UTF-8 for the terminal.
    EXPECT_NE(info.strOut.find("<Location>전동차 녹화기</Location>\r\n"), std::string::npos)
        << info.strOut;
    ProcessResult raw = Cli(data, s.sim.Port(), {"info", "--raw"});
    EXPECT_NE(raw.strOut.find("<Location>\xC0\xFC\xB5\xBF\xC2\xF7 "), std::string::npos);

    ProcessResult missing = Cli(data, s.sim.Port(), {"info", "--path", "/nothing"});
    EXPECT_EQ(missing.nExitCode, 1);
    EXPECT_EQ(missing.strErr, "정보를 얻어오는데 실패하였습니다.(404).\n");
    ProcessResult refused = Cli(data, FindClosedLoopbackPort(), {"info"});
    EXPECT_EQ(refused.nExitCode, 1);
    EXPECT_EQ(refused.strErr, "연결에 실패하였습니다.\n");
    EXPECT_EQ(Cli(data, s.sim.Port(), {"info", "--auth", "kerberos"}).nExitCode, 2);
    EXPECT_EQ(Cli(data, s.sim.Port(), {"info", "--path", "relative"}).nExitCode, 2);
}

TEST(CliRecorder, ErrorsExitCodeTellsHealthyFromFaultyOrUnread)
{
    CTempDir data;
    RecorderSimOptions clean;
    clean.m_nBlockEvery = 0;
    CStartedSim healthy(clean);
    ProcessResult ok = Cli(data, healthy.sim.Port(), {"errors"});
    EXPECT_EQ(ok.nExitCode, 0) << ok.strErr;
    EXPECT_EQ(ok.strOut, "에러를 발견하지 못했습니다.\n");

    RecorderSimOptions blocks;
    blocks.m_nPages = 2;
    blocks.m_nItemsPerPage = 3;
    blocks.m_nBlockEvery = 2;
    blocks.m_nDays = 1;
    CStartedSim faulty(blocks);
    ProcessResult found = Cli(data, faulty.sim.Port(), {"errors"});
    EXPECT_EQ(found.nExitCode, 1);
    const auto& e = faulty.sim.Entries();
    // One line per date and hour, LF-terminated on the terminal.
    std::string first = e[1].m_strDate + " " + e[1].m_strTime.substr(0, 2) + "\n";
    EXPECT_EQ(found.strOut.substr(0, first.size()), first) << found.strOut;
    EXPECT_EQ(found.strOut.find('\r'), std::string::npos);

    RecorderSimOptions broken;
    broken.m_fault = RecorderSimOptions::Fault::kStatus500;
    broken.m_nFaultPage = 2;
    broken.m_nBlockEvery = 0;
    CStartedSim unread(broken);
    ProcessResult failed = Cli(data, unread.sim.Port(), {"errors"});
    EXPECT_EQ(failed.nExitCode, 1);
    EXPECT_EQ(failed.strErr, "정보를 얻어오는데 실패하였습니다.(페이지: 2, 500).\n");
    EXPECT_EQ(failed.strOut, ""); // never "no error" for a log that was not read
}
