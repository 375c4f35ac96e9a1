#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "data/DataTrains.h"
#include "data/SerializationInfo.h"
#include "data/TrainListText.h"
#include "data/XmlSerialization.h"
#include "platform/Codepage.h"
#include "support/TempDir.h"

namespace
{

CDataTrain MakeTrain(int nID, int nDirection, const std::string& strSetNumber,
                     const std::string& strAddress, int nPort, int nRdpPort)
{
    CDataTrain train(nID);
    train.SetDirection(nDirection);
    train.SetSetNumber(strSetNumber);
    train.SetLTERAddress(strAddress);
    train.SetPort(nPort);
    train.SetRdpPort(nRdpPort);
    return train;
}

std::vector<int> Ids(const CDataTrains& trains)
{
    std::vector<int> ids;
    for (const auto& entry : trains.GetTrains())
        ids.push_back(entry.first);
    return ids;
}

} // namespace

// Readable failure output for records and maps of records.
void PrintTo(const CDataTrain& train, std::ostream* pOut)
{
    *pOut << "{ID " << train.GetID() << ", direction " << train.GetDirection() << ", set \""
          << platform::Cp949ToUtf8(train.GetSetNumber()) << "\", address \""
          << platform::Cp949ToUtf8(train.GetLTERAddress()) << "\", port " << train.GetPort()
          << ", rdp " << train.GetRdpPort() << "}";
}

TEST(TrainList, ReadsTheFileWithItsEdgeCases)
{
    const std::string strKorean = platform::Utf8ToCp949("2호선-07");
    const std::string strText =
        "<?xml version=\"1.0\" encoding=\"euc-kr\"?>\r\n"
        "<!-- line 2 -->\r\n"
        "<TRAINS version=\"2\">\r\n"
        "  <Note>leaf directly inside the root: no record</Note>\r\n"
        "  <Train><ID>30</ID><Port>1</Port></Train>\r\n"
        "  <TRAIN><ID>7</ID><DIRECTION>1</DIRECTION>"
        "<SETNUMBER>" +
        strKorean +
        "</SETNUMBER><LTERADDRESS>10.0.0.7</LTERADDRESS>"
        "<PORT>8080</PORT><RDPPORT>3389</RDPPORT></TRAIN>\r\n"
        "  <train><rdpport>13389</rdpport><port> 8081 </port>"
        "<port>9</port><id>-3</id><lteraddress>\r\n  host-3 \r\n"
        "</lteraddress><setnumber>A&amp;amp;B</setnumber>"
        "<direction>x2</direction></train>\r\n"
        "  <Train><Id>30</Id><Port>2</Port><Direction>-1</Direction></Train>\r\n"
        "  <Train/>\r\n"
        "  <Train></Train>\r\n"
        "  <Train><Port>5</Port></Train>\r\n"
        "  <Car><Id>99</Id><Port>6</Port></Car>\r\n"
        "  <Train><ID>-2147483649</ID></Train>\r\n"
        "</TRAINS>\r\n";
    CDataTrains trains;
    XmlLoadResult result;
    ASSERT_TRUE(LoadXmlText(strText, &trains, &result));
    EXPECT_TRUE(result.strParseError.empty()) << result.strParseError;

    // Ascending signed IDs; the ID that does not fit saturates.
    EXPECT_EQ(Ids(trains), (std::vector<int>{-2147483647 - 1, -3, 0, 7, 30}));
    const TrainMap& map = trains.GetTrains();
    EXPECT_EQ(map.at(7), MakeTrain(7, 1, strKorean, "10.0.0.7", 8080, 3389));
    // The first of two Port elements counts; texts are not trimmed; numbers skip blanks.
    EXPECT_EQ(map.at(-3), MakeTrain(-3, 0, "A&B", "\n  host-3 \n", 8081, 13389));
    // The later of two records with the same ID replaces the earlier one whole.
    EXPECT_EQ(map.at(30), MakeTrain(30, -1, "", "", 2, 0));
    // The element of another name came last among those without an ID: all defaults.
    EXPECT_EQ(map.at(0), CDataTrain());
}

TEST(TrainList, AFileCutInsideItsLastTrainKeepsWhatWasClosed)
{
    const std::string strWhole = "<Trains>\r\n"
                                 "<Train><ID>2</ID><Port>80</Port></Train>\r\n"
                                 "<Train><ID>1</ID><Port>81</Port><LTERAddress>10.1.1.1";
    struct Case
    {
        size_t cut; // bytes kept from the end of strWhole
        std::vector<int> ids;
        int port1;
        const char* address1;
    } cases[] = {
        {0, {1, 2}, 81, ""}, // the address element was not closed
        {strlen("<LTERAddress>10.1.1.1"), {1, 2}, 81, ""},
        {strlen("<Port>81</Port><LTERAddress>10.1.1.1"), {1, 2}, 0, ""},
    };
    CTempDir dir;
    for (const Case& c : cases)
    {
        std::string strText = strWhole.substr(0, strWhole.size() - c.cut);
        std::string strPath = dir.File("CheckTrains2.xml");
        ASSERT_TRUE(WriteFileBytes(strPath, strText));
        CDataTrains trains;
        XmlLoadResult result;
        ASSERT_TRUE(LoadXmlFile(strPath, &trains, &result)) << strText;
        EXPECT_FALSE(result.strParseError.empty());
        EXPECT_EQ(Ids(trains), c.ids) << strText;
        EXPECT_EQ(trains.GetTrains().at(2).GetPort(), 80);
        EXPECT_EQ(trains.GetTrains().at(1).GetPort(), c.port1) << strText;
        EXPECT_EQ(trains.GetTrains().at(1).GetLTERAddress(), c.address1) << strText;
    }
}

TEST(TrainList, FailedLoadsAndOtherRootsLeaveTheListAsItWas)
{
    CTempDir dir;
    CDataTrains trains;
    ASSERT_TRUE(LoadXmlText("<Trains><Train><ID>1</ID></Train></Trains>", &trains));

    XmlLoadResult result;
    EXPECT_FALSE(LoadXmlFile(dir.File("CheckTrains2.xml"), &trains, &result));
    EXPECT_EQ(result.code, XmlLoadCode::kFileNotReadable);
    ASSERT_TRUE(WriteFileBytes(dir.File("empty.xml"), ""));
    EXPECT_FALSE(LoadXmlFile(dir.File("empty.xml"), &trains, &result));
    EXPECT_EQ(result.code, XmlLoadCode::kNoRootElement);
    // A root of another name is read, and nothing of it is taken.
    EXPECT_TRUE(LoadXmlText("<Settings><Train><ID>5</ID></Train></Settings>", &trains));
    EXPECT_EQ(Ids(trains), std::vector<int>{1});
    // A second load adds to the list; it is not emptied first.
    EXPECT_TRUE(LoadXmlText("<Trains><Train><ID>2</ID></Train></Trains>", &trains));
    EXPECT_EQ(Ids(trains), (std::vector<int>{1, 2}));

    // A record read on its own ignores a node of another name.
    CSerializationInfo node;
    node.SetName("car");
    node.AddValue("id", 9);
    CDataTrain train = MakeTrain(4, 1, "s", "a", 2, 3);
    train.Deserialize(node);
    EXPECT_EQ(train, MakeTrain(4, 1, "s", "a", 2, 3));
}

TEST(TrainList, MapLookupSetTrainsAndSerialize)
{
    CDataTrains trains;
    TrainMap map;
    map[5].SetPort(80);
    EXPECT_EQ(map.at(5).GetID(), 5); // an absent ID is inserted with that ID
    map[-1] = MakeTrain(-1, 1, "s", "h", 1, 2);
    trains.SetTrains(map);
    trains.SetTrains(trains.GetTrains());
    EXPECT_EQ(Ids(trains), (std::vector<int>{-1, 5}));

    CSerializationInfo root;
    trains.Serialize(root);
    EXPECT_EQ(root.GetName(), "Trains");
    const CSerializationInfo* pFirst = root.GetFirstChild();
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(pFirst->GetName(), "Train");
    EXPECT_EQ(pFirst->GetValues(), (std::vector<std::string>{"-1", "1", "s", "h", "1", "2"}));
    EXPECT_EQ(pFirst->FindValue("LTERAddress"), 3);
    ASSERT_NE(pFirst->GetNext(), nullptr);
    EXPECT_EQ(pFirst->GetNext()->GetIntValue("ID"), 5);
    EXPECT_EQ(pFirst->GetNext()->GetIntValue("Port"), 80);
    EXPECT_EQ(pFirst->GetNext()->GetNext(), nullptr);

    CSerializationInfo empty;
    CDataTrains().Serialize(empty);
    EXPECT_EQ(empty.GetName(), "Trains");
    EXPECT_EQ(empty.GetFirstChild(), nullptr);
}

TEST(TrainListText, WritesTheLayoutTheLoaderReads)
{
    TrainMap map;
    map[3] = MakeTrain(3, 1, platform::Utf8ToCp949("3편성"), "127.0.0.3", 8080, 3389);
    EXPECT_EQ(MakeTrainListText(map), "<Trains>\r\n"
                                      "\t<Train>\r\n"
                                      "\t\t<ID>3</ID>\r\n"
                                      "\t\t<Direction>1</Direction>\r\n"
                                      "\t\t<SetNumber>3\xC6\xED\xBC\xBA</SetNumber>\r\n"
                                      "\t\t<LTERAddress>127.0.0.3</LTERAddress>\r\n"
                                      "\t\t<Port>8080</Port>\r\n"
                                      "\t\t<RdpPort>3389</RdpPort>\r\n"
                                      "\t</Train>\r\n"
                                      "</Trains>\r\n");
    EXPECT_EQ(MakeTrainListText(TrainMap()), "<Trains>\r\n</Trains>\r\n");
}

TEST(TrainListText, EveryListLoadsBackUnchanged)
{
    const std::vector<std::string> texts = {
        "",
        " padded \t",
        "a&b",
        "&lt;&amp;amp;&#60;&AMP;",
        "<tag attr=\"x\">'q'</tag>",
        "line\r\nbreak\rcr\nlf",
        "]]> ?> <!-- -->",
        platform::Utf8ToCp949("성수행 2-07 ＴＲＡＩＮ"),
        "\x81\x41\xFF\x80 raw bytes",
    };
    TrainMap map;
    int nID = -2147483647 - 1;
    for (const std::string& strText : texts)
    {
        map[nID] = MakeTrain(nID, nID % 3, strText, strText + ".host", 65535, -1);
        nID += 400000000;
    }
    map[2147483647] = MakeTrain(2147483647, -2147483647 - 1, "max", "127.0.0.1", 0, 0);

    CDataTrains loaded;
    XmlLoadResult result;
    ASSERT_TRUE(LoadXmlText(MakeTrainListText(map), &loaded, &result));
    EXPECT_TRUE(result.strParseError.empty()) << result.strParseError;
    EXPECT_EQ(loaded.GetTrains(), map);

    CTempDir dir;
    std::string strPath = dir.File("CheckTrains2.xml");
    ASSERT_TRUE(SaveTrainListFile(strPath, map));
    CDataTrains fromFile;
    ASSERT_TRUE(LoadXmlFile(strPath, &fromFile));
    EXPECT_EQ(fromFile.GetTrains(), map);
}
