// CSecureSock: open and handshake bounds, the buffered reads with peek, and Shutdown.
#include <gtest/gtest.h>

#include <chrono>

#include "support/TestHttpServer.h"
#include "web/SecureSock.h"

namespace
{

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST(SecureSockTest, PortZeroFailsAtOnce)
{
    CSecureSock sock;
    sock.m_nTls = 1;
    EXPECT_FALSE(sock.Open("127.0.0.1", 0, 1000));
    EXPECT_EQ(INVALID_SOCKET, sock.m_hSocket);
}

struct RefusalCase
{
    const char* pszName;
    TestHttpAnswer answer;
    double dMaxSeconds;
};

// A peer that is not a TLS server, or one that accepts TCP and then says nothing: Open fails
// within about the wait and leaves nothing behind.
TEST(SecureSockTest, HandshakeFailuresLeaveNothingOpen)
{
    TestHttpAnswer garbage = TestHttpAnswer::Raw("HTTP/1.1 400 Bad Request\r\n\r\n");
    garbage.bReadRequest = false;
    TestHttpAnswer silent = TestHttpAnswer::Silent();
    silent.bReadRequest = false;
    const RefusalCase cases[] = {
        {"closes at once", TestHttpAnswer::CloseAtOnce(), 0.9},
        {"answers in plain text", garbage, 0.9},
        {"silent after accept", silent, 2.5},
    };
    for (const RefusalCase& c : cases)
    {
        CTestHttpServer server;
        ASSERT_TRUE(server.Start(false));
        server.SetDefaultAnswer(c.answer);
        CSecureSock sock;
        sock.m_nTls = 1;
        auto start = Clock::now();
        EXPECT_FALSE(sock.Open("127.0.0.1", server.Port(), 1000)) << c.pszName;
        EXPECT_LT(SecondsSince(start), c.dMaxSeconds) << c.pszName;
        EXPECT_EQ(INVALID_SOCKET, sock.m_hSocket) << c.pszName;
        EXPECT_EQ(nullptr, sock.m_pSsl) << c.pszName;
        EXPECT_EQ(nullptr, sock.m_pCtx) << c.pszName;
        EXPECT_FALSE(sock.IsOpen()) << c.pszName;
    }
}

class SecureSockReadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 300; ++i)
            m_strSent += static_cast<char>('a' + i % 26);
        // One write, so one TLS record: a single SSL_read brings all 300 bytes.
        TestHttpAnswer answer = TestHttpAnswer::Raw(m_strSent).Then(TestHttpAnswer::Ending::kHold);
        answer.bReadRequest = false;
        ASSERT_TRUE(m_server.Start(true));
        m_server.SetDefaultAnswer(answer);
        m_sock.m_nTls = 1;
        ASSERT_TRUE(m_sock.Open("127.0.0.1", m_server.Port(), 2000));
    }
    void TearDown() override
    {
        m_sock.Shutdown();
        platform::SocketClose(m_sock.m_hSocket);
    }

    CTestHttpServer m_server;
    CSecureSock m_sock;
    std::string m_strSent;
};

TEST_F(SecureSockReadTest, PeeksRepeatAndReadsConsume)
{
    char a[100], b[100], c[200];
    ASSERT_EQ(100, m_sock.Read(a, 100, platform::kRecvPeek, 2000));
    ASSERT_EQ(100, m_sock.Read(b, 100, platform::kRecvPeek, 2000));
    EXPECT_EQ(std::string(a, 100), std::string(b, 100));
    ASSERT_EQ(100, m_sock.Read(c, 100, 0, 2000));
    EXPECT_EQ(std::string(a, 100), std::string(c, 100));
    EXPECT_EQ(m_strSent.substr(0, 100), std::string(c, 100));
    // The rest of the record stayed buffered: even a wait of 0 ms returns it.
    ASSERT_EQ(150, m_sock.Read(c, 150, 0, 0));
    EXPECT_EQ(m_strSent.substr(100, 150), std::string(c, 150));
    // Fewer bytes buffered than asked: they come back after one wait for more.
    auto start = Clock::now();
    ASSERT_EQ(50, m_sock.Read(c, 100, 0, 300));
    EXPECT_EQ(m_strSent.substr(250, 50), std::string(c, 50));
    EXPECT_EQ(0, m_sock.Read(c, 100, 0, 300)) << "nothing more within the wait";
    EXPECT_GT(SecondsSince(start), 0.5);
}

TEST_F(SecureSockReadTest, ShutdownFreesAndRepeats)
{
    char a[10];
    ASSERT_EQ(10, m_sock.Read(a, 10, 0, 2000));
    m_sock.m_nPeerError = 1; // the close-notify exchange is skipped
    m_sock.Shutdown();
    EXPECT_EQ(nullptr, m_sock.m_pSsl);
    EXPECT_EQ(nullptr, m_sock.m_pCtx);
    EXPECT_FALSE(m_sock.IsOpen());
    EXPECT_NE(INVALID_SOCKET, m_sock.m_hSocket) << "the owner closes the socket";
    m_sock.Shutdown();
    EXPECT_EQ(-1, m_sock.Read(a, 10, 0, 0));
}

} // namespace
