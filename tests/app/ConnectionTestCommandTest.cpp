#include <gtest/gtest.h>

#include "app/MainCommands.h"
#include "app/Texts.h"
#include "platform/Codepage.h"
#include "support/CommandRig.h"
#include "support/LoopbackListener.h"
#include "support/RecordingUserInterface.h"

namespace
{

const std::string kCaption = platform::Utf8ToCp949("연결성 테스트");
const std::string kSucceeded = platform::Utf8ToCp949("연결에 성공하였습니다.");
const std::string kFailed = platform::Utf8ToCp949("연결에 실패하였습니다.");

} // namespace

TEST(ConnectionInfo, PortConvertsLikeAtol)
{
    CFakeFields fields;
    fields.m_user = "u";
    struct Case
    {
        const char* text;
        std::int32_t port;
    } cases[] = {
        {"", 0}, {"8080", 8080}, {"70000", 70000}, {"99999999999", 2147483647}, {"12ab", 12}};
    for (const Case& c : cases)
    {
        fields.m_port = c.text;
        EXPECT_EQ(GetConnectionInfo(fields).m_nPort, c.port) << c.text;
    }
    EXPECT_EQ(GetConnectionInfo(fields).m_strUser, "u");
}

TEST(ConnectionTest, ListeningPortSucceedsAndStoresTheFields)
{
    CLoopbackListener listener;
    CFakeFields fields;
    fields.m_port = std::to_string(listener.Port());
    fields.m_user = platform::Utf8ToCp949("관리자");
    fields.m_password = "a&b<c";
    CLocalAppSettings settings;
    CRecordingUserInterface ui;
    CMainCommands commands(settings, fields, ui);
    EXPECT_TRUE(commands.OnBnClickedConnectionTest());
    ASSERT_EQ(ui.m_messages.size(), 1u);
    EXPECT_EQ(ui.m_messages[0].strText, kSucceeded);
    EXPECT_EQ(ui.m_messages[0].strCaption, kCaption);
    EXPECT_EQ(ui.m_messages[0].icon, MessageIcon::kInformation);
    EXPECT_EQ(settings.GetVornAddress(), "127.0.0.1");
    EXPECT_EQ(settings.GetLong(0, "VornPort", 0), listener.Port());
    EXPECT_EQ(settings.GetVornUser(), fields.m_user);
    EXPECT_EQ(settings.GetVornPassword(), "a&b<c");
}

TEST(ConnectionTest, FailuresAreStoredFirstAndReportedWithTheErrorIcon)
{
    struct Case
    {
        std::string address;
        std::string port;
        const char* storedPort;
    } cases[] = {
        {"127.0.0.1", "", "0"},                                           // empty port: no attempt
        {"127.0.0.1", std::to_string(FindClosedLoopbackPort()), nullptr}, // refused
        {"1.2.3.4.5", "8080", "8080"},                                    // malformed address
        {"127.0.0.1", "65535", "65535"},                                  // refused port
    };
    for (const Case& c : cases)
    {
        CFakeFields fields;
        fields.m_address = c.address;
        fields.m_port = c.port;
        CLocalAppSettings settings;
        CRecordingUserInterface ui;
        CMainCommands commands(settings, fields, ui);
        EXPECT_FALSE(commands.OnBnClickedConnectionTest()) << c.address << ':' << c.port;
        ASSERT_EQ(ui.m_messages.size(), 1u);
        EXPECT_EQ(ui.m_messages[0].strText, kFailed);
        EXPECT_EQ(ui.m_messages[0].strCaption, kCaption);
        EXPECT_EQ(ui.m_messages[0].icon, MessageIcon::kError);
        EXPECT_EQ(settings.GetString(0, "VornPort", "?"), c.storedPort ? c.storedPort : c.port);
        EXPECT_EQ(settings.GetVornAddress(), c.address);
    }
}

TEST(ConnectionTest, PortIsProbedAsItsLowSixteenBits)
{
    // 70000 is stored as typed and probed as 70000 - 65536 = 4464.
    CLoopbackListener listener;
    CFakeFields fields;
    fields.m_port = std::to_string(65536 + listener.Port());
    CLocalAppSettings settings;
    CRecordingUserInterface ui;
    CMainCommands commands(settings, fields, ui);
    EXPECT_TRUE(commands.OnBnClickedConnectionTest());
    EXPECT_EQ(settings.GetLong(0, "VornPort", 0), 65536 + listener.Port());
}

TEST(ConnectionTest, WaitComesFromTheSettings)
{
    CFakeFields fields;
    CLocalAppSettings settings;
    CRecordingUserInterface ui;
    CMainCommands commands(settings, fields, ui);
    EXPECT_EQ(commands.GetWaitMilliseconds(), 5000);
    settings.SetLong(0, "TcpWaitSeconds", 2);
    EXPECT_EQ(commands.GetWaitMilliseconds(), 2000);
    // A huge setting saturates instead of wrapping into a short wait.
    EXPECT_EQ(WaitSecondsToMilliseconds(2147483647), 2147483647);
    EXPECT_EQ(WaitSecondsToMilliseconds(-2147483647 - 1), -2147483647 - 1);
}

TEST(Texts, TableIsCodePage949)
{
    EXPECT_EQ(GetText(TextId::kConnectionTestCaption), kCaption);
    EXPECT_EQ(GetText(TextId::kAboutMenuItem), platform::Utf8ToCp949("Kelmora 정보(&A)..."));
    for (int i = 0; i < static_cast<int>(TextId::kCount); ++i)
        EXPECT_FALSE(GetText(static_cast<TextId>(i)).empty()) << i;
}
