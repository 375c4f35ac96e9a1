// The simulated recorder answers the two pages in the recorders' form, and Kelmora's own
// client and log reader read it back.
#include <gtest/gtest.h>

#include "RecorderSim.h"
#include "platform/Codepage.h"
#include "web/HttpClient.h"
#include "web/RecorderPages.h"
#include "web/SimpleHttpParser.h"
#include "xml/XmlCfg.h"

namespace
{

struct PageRead
{
    int nStatus = 0;
    std::string strBody;
};

PageRead Fetch(const CRecorderSim& sim, const std::string& path, const std::string& user = "",
               const std::string& password = "")
{
    CHttpClient client(sim.Options().m_strListen, sim.Port(), user, password);
    std::string answer;
    PageRead read;
    if (client.Get(path.c_str(), answer, 2))
    {
        CSimpleHttpParser parser(answer.c_str());
        read.nStatus = parser.GetStatusCode();
        read.strBody = parser.GetBody();
    }
    return read;
}

} // namespace

TEST(RecorderSim, LogPagesReadBackThroughTheLogReader)
{
    RecorderSimOptions options;
    options.m_nPages = 4;
    options.m_nItemsPerPage = 5;
    options.m_nBlockEvery = 3;
    options.m_bChunked = true;
    CRecorderSim sim(options);
    std::string error;
    ASSERT_TRUE(sim.Start(error)) << error;

    RecorderEndpoint endpoint{"127.0.0.1", sim.Port(), "", ""};
    CRecorderLogReader reader(endpoint, [] { return 2; });
    std::vector<std::string> contents, comments, dates;
    std::vector<int> indexes;
    LogReadOutcome outcome = reader.Read(
        [&](const CXmlCfg& doc, int)
        {
            for (int n = 1; n <= CountLogItems(doc); ++n)
            {
                indexes.push_back(std::atoi(GetLogItemField(doc, n, "Index").c_str()));
                contents.push_back(GetLogItemField(doc, n, "Content"));
                comments.push_back(GetLogItemField(doc, n, "Comment"));
                dates.push_back(GetLogItemField(doc, n, "Date"));
            }
            return true;
        });
    EXPECT_EQ(outcome.m_code, LogReadOutcome::kComplete);
    EXPECT_EQ(outcome.m_nPagesRead, 4);
    ASSERT_EQ(indexes.size(), 20u);
    // Newest first, numbered down to 1; every third entry a blocked recording.
    EXPECT_EQ(indexes.front(), 20);
    EXPECT_EQ(indexes.back(), 1);
    int blocks = 0;
    for (std::size_t i = 0; i < contents.size(); ++i)
    {
        bool bBlock = contents[i].find("Record Block") != std::string::npos;
        blocks += bBlock ? 1 : 0;
        EXPECT_EQ(bBlock, i % 3 == 2) << i;
        EXPECT_EQ(contents[i], sim.Entries()[i].m_strContent);
    }
    EXPECT_EQ(blocks, 6);
    // Korean comments arrive as code page 949 bytes.
    EXPECT_EQ(comments[0], platform::Utf8ToCp949("정상"));
    // Dates run back from today over the configured days, year first.
    EXPECT_EQ(dates[0].size(), 10u);
    EXPECT_GE(dates[0], dates.back());
}

TEST(RecorderSim, CredentialsFaultsAndTheInformationPage)
{
    RecorderSimOptions options;
    options.m_strUser = "admin";
    options.m_strPassword = "s3cret";
    options.m_fault = RecorderSimOptions::Fault::kStatus500;
    options.m_nFaultPage = 2;
    CRecorderSim sim(options);
    std::vector<std::string> log;
    std::mutex logLock;
    sim.SetRequestLog(
        [&](const std::string& line)
        {
            std::lock_guard<std::mutex> guard(logLock);
            log.push_back(line);
        });
    std::string error;
    ASSERT_TRUE(sim.Start(error)) << error;

    EXPECT_EQ(Fetch(sim, kInformationPagePath).nStatus, 401);
    EXPECT_EQ(Fetch(sim, kInformationPagePath, "admin", "wrong").nStatus, 401);
    PageRead info = Fetch(sim, kInformationPagePath, "admin", "s3cret");
    EXPECT_EQ(info.nStatus, 200);
    EXPECT_NE(info.strBody.find("<Name>KELMORA-SIM</Name>"), std::string::npos);
    EXPECT_EQ(Fetch(sim, MakeLogPagePath(1), "admin", "s3cret").nStatus, 200);
    EXPECT_EQ(Fetch(sim, MakeLogPagePath(2), "admin", "s3cret").nStatus, 500);
    EXPECT_EQ(Fetch(sim, "/other", "admin", "s3cret").nStatus, 404);

    std::lock_guard<std::mutex> guard(logLock);
    ASSERT_EQ(log.size(), 6u);
    // One line per request; the password never reaches the log.
    EXPECT_NE(log[2].find("GET /system/information.cgi?method=get&id=admin&password=*** -> 200"),
              std::string::npos)
        << log[2];
    for (const std::string& line : log)
        EXPECT_EQ(line.find("s3cret"), std::string::npos) << line;
}

TEST(RecorderSim, RefusesAddressesOffLoopbackAndBadOptions)
{
    RecorderSimOptions options;
    options.m_strListen = "0.0.0.0";
    CRecorderSim sim(options);
    std::string error;
    EXPECT_FALSE(sim.Start(error));
    EXPECT_NE(error.find("loopback"), std::string::npos);

    RecorderSimOptions parsed;
    EXPECT_TRUE(
        ParseRecorderSimArgs({"--pages", "7", "--fault", "silent", "--chunked"}, parsed, error));
    EXPECT_EQ(parsed.m_nPages, 7);
    EXPECT_EQ(parsed.m_fault, RecorderSimOptions::Fault::kSilent);
    EXPECT_TRUE(parsed.m_bChunked);
    for (std::vector<std::string> bad : {std::vector<std::string>{"--pages"},
                                         {"--pages", "x"},
                                         {"--fault", "explode"},
                                         {"--port", "70000"},
                                         {"--frobnicate"}})
        EXPECT_FALSE(ParseRecorderSimArgs(bad, parsed, error)) << bad[0];
}
