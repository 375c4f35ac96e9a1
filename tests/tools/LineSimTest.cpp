#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "LineSim.h"
#include "RecorderSim.h"
#include "data/DataTrains.h"
#include "data/XmlSerialization.h"
#include "support/TempDir.h"
#include "web/TcpConnect.h"

TEST(LineSim, TrainListFileAndListenersMatchTheLayout)
{
    LineSimOptions options;
    options.m_nTrains = 12;
    CLineSim line(options);
    std::string strError;
    ASSERT_TRUE(line.Start(strError)) << strError;
    ASSERT_EQ(line.Trains().size(), 12u);

    CTempDir dir;
    ASSERT_TRUE(line.WriteTrainsFile(dir.File("CheckTrains2.xml")));
    CDataTrains loaded;
    ASSERT_TRUE(LoadXmlFile(dir.File("CheckTrains2.xml"), &loaded));
    EXPECT_EQ(loaded.GetTrains(), line.MakeTrainMap());

    std::set<std::string> addresses;
    std::set<LineSimKind> kinds;
    for (const LineSimTrain& train : line.Trains())
    {
        SCOPED_TRACE(train.m_strAddress);
        addresses.insert(train.m_strAddress);
        kinds.insert(train.m_kind);
        EXPECT_EQ(train.m_strAddress.rfind("127.", 0), 0u);
        EXPECT_NE(train.m_nPort, 0);
        EXPECT_NE(train.m_nRdpPort, 0);
        EXPECT_TRUE(ProbeTcpPort(train.m_strAddress.c_str(), train.m_nPort, 2000));
        // Many probes in a row: the listener closes each at once, so its queue never fills.
        for (int n = 0; n < (train.m_bRdpOpen ? 40 : 1); ++n)
            ASSERT_EQ(ProbeTcpPort(train.m_strAddress.c_str(), train.m_nRdpPort, 2000),
                      train.m_bRdpOpen)
                << n;
    }
    EXPECT_EQ(addresses.size(), 12u);
    EXPECT_EQ(kinds.size(), 5u);
    EXPECT_EQ(line.Trains()[2].m_bRdpOpen, false);
    EXPECT_EQ(line.Trains()[3].m_kind, LineSimKind::kSilent);
    EXPECT_EQ(line.Trains()[6].m_kind, LineSimKind::kUnauthorized);
}

TEST(LineSim, CommandLineOptionsAndLimits)
{
    RecorderSimOptions options;
    std::string strError;
    ASSERT_TRUE(ParseRecorderSimArgs({"--line", "20", "--trains-file", "x/CheckTrains2.xml"},
                                     options, strError))
        << strError;
    EXPECT_EQ(options.m_nLine, 20);
    EXPECT_EQ(options.m_strTrainsFile, "x/CheckTrains2.xml");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--line", "0"},
                                                 {"--line", "1001"},
                                                 {"--line"},
                                                 {"--trains-file"}})
    {
        RecorderSimOptions other;
        EXPECT_FALSE(ParseRecorderSimArgs(args, other, strError)) << args[0];
    }
    LineSimOptions empty;
    empty.m_nTrains = 0;
    CLineSim none(empty);
    EXPECT_FALSE(none.Start(strError));
    EXPECT_NE(strError.find("1 to 1000"), std::string::npos) << strError;
}
