#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

#include "support/LoopbackListener.h"
#include "web/TcpConnect.h"

namespace
{

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A loopback port that does not answer: a listener that never accepts, whose accept queue
// is filled by connections held open, so the kernel drops every further handshake.
class CUnansweringPort
{
public:
    CUnansweringPort() : m_listener(1)
    {
        for (int i = 0; i < 64; ++i)
        {
            bool bPending = false;
            SOCKET s = BeginTcpConnect("127.0.0.1", m_listener.Port(), &bPending);
            if (s == INVALID_SOCKET)
                break;
            m_fillers.push_back(s);
            if (bPending && !WaitTcpConnect(s, 300))
                break; // this one hangs too: the queue is full
        }
    }
    ~CUnansweringPort()
    {
        for (SOCKET s : m_fillers)
            platform::SocketClose(s);
    }
    std::uint16_t Port() const { return m_listener.Port(); }

private:
    CLoopbackListener m_listener;
    std::vector<SOCKET> m_fillers;
};

} // namespace

TEST(TcpConnect, DottedAddressText)
{
    EXPECT_TRUE(IsDottedAddress(""));
    EXPECT_TRUE(IsDottedAddress("127.0.0.1"));
    EXPECT_TRUE(IsDottedAddress("1.2.3.4.5"));
    EXPECT_FALSE(IsDottedAddress("localhost"));
    EXPECT_FALSE(IsDottedAddress("127.0.0.1 "));
    EXPECT_FALSE(IsDottedAddress("-1.0.0.1"));
}

TEST(TcpConnect, ResolvesDottedAndNamedHosts)
{
    const std::uint32_t kNone = 0xFFFFFFFFu;
    // 127.0.0.1 in network byte order is the bytes 7F 00 00 01.
    std::uint32_t loopback = ResolveHostAddress("127.0.0.1");
    const auto* bytes = reinterpret_cast<const unsigned char*>(&loopback);
    EXPECT_EQ(bytes[0], 0x7F);
    EXPECT_EQ(bytes[3], 0x01);
    EXPECT_EQ(ResolveHostAddress("localhost"), loopback);
    // Malformed dotted texts are never looked up.
    for (const char* bad : {"", "1.2.3.4.5", "127.0.0.256", "300.1.1.1", "1..2.3"})
        EXPECT_EQ(ResolveHostAddress(bad), kNone) << bad;
}

TEST(TcpConnect, ProbeOpensListeningPortAndFailsClosedOne)
{
    CLoopbackListener listener;
    ASSERT_TRUE(listener.IsOpen());
    EXPECT_TRUE(ProbeTcpPort("127.0.0.1", listener.Port(), 5000));
    EXPECT_TRUE(ProbeTcpPort("localhost", listener.Port(), 5000));

    std::uint16_t closed = FindClosedLoopbackPort();
    ASSERT_NE(closed, 0);
    auto start = Clock::now();
    EXPECT_FALSE(ProbeTcpPort("127.0.0.1", closed, 5000));
    // A refused connection is reported at once, not after the wait.
    EXPECT_LT(MillisecondsSince(start), 4000);
}

TEST(TcpConnect, RefusedAtOnceWithoutASocket)
{
    CLoopbackListener listener;
    struct Case
    {
        const char* host;
        std::uint16_t port;
    } cases[] = {
        {"127.0.0.1", 0},
        {"127.0.0.1", 65535},
        {"1.2.3.4.5", listener.Port()},
        {"127.0.0.300", listener.Port()},
        {"", listener.Port()},
    };
    for (const Case& c : cases)
    {
        auto start = Clock::now();
        EXPECT_FALSE(ProbeTcpPort(c.host, c.port, 5000)) << c.host << ':' << c.port;
        EXPECT_EQ(ConnectTcpWithTimeout(c.host, c.port, 5000), INVALID_SOCKET);
        EXPECT_LT(MillisecondsSince(start), 4000) << c.host << ':' << c.port;
    }
    bool bPending = true;
    EXPECT_EQ(BeginTcpConnect("127.0.0.1", 65535, &bPending), INVALID_SOCKET);
}

TEST(TcpConnect, ConnectReturnsNonBlockingConnectedSocket)
{
    CLoopbackListener listener;
    SOCKET s = ConnectTcpWithTimeout("127.0.0.1", listener.Port(), 5000);
    ASSERT_NE(s, INVALID_SOCKET);
    // Non-blocking: a receive with nothing queued returns at once with "would block".
    char c;
    EXPECT_EQ(platform::SocketRecv(s, &c, 1, 0), -1);
    EXPECT_TRUE(platform::SocketLastErrorWouldBlock());
    platform::SocketClose(s);
}

TEST(TcpConnect, SilentAddressFailsAfterTheWholeWait)
{
    CUnansweringPort silent;
    // Waits above one second are honoured in full: not sooner, and not much later.
    auto start = Clock::now();
    EXPECT_FALSE(ProbeTcpPort("127.0.0.1", silent.Port(), 1500));
    long long elapsed = MillisecondsSince(start);
    EXPECT_GE(elapsed, 1450);
    EXPECT_LT(elapsed, 4500);

    start = Clock::now();
    EXPECT_EQ(ConnectTcpWithTimeout("127.0.0.1", silent.Port(), 1200), INVALID_SOCKET);
    EXPECT_GE(MillisecondsSince(start), 1150);

    // A wait of 0 polls once.
    EXPECT_FALSE(ProbeTcpPort("127.0.0.1", silent.Port(), 0));
}

TEST(TcpConnect, ReceiveWithTimeoutReportsDataSilenceAndClose)
{
    CLoopbackListener listener;
    SOCKET client = ConnectTcpWithTimeout("127.0.0.1", listener.Port(), 5000);
    ASSERT_NE(client, INVALID_SOCKET);
    int server = listener.AcceptOne();
    ASSERT_GE(server, 0);
    char buf[16];
    // Nothing was sent: the wait expires.
    EXPECT_EQ(ReceiveWithTimeout(client, buf, sizeof(buf), 0, 100), 0);
    ASSERT_EQ(::send(server, "hello", 5, 0), 5);
    // A peek leaves the bytes queued for the next receive.
    EXPECT_EQ(ReceiveWithTimeout(client, buf, sizeof(buf), platform::kRecvPeek, 5000), 5);
    EXPECT_EQ(ReceiveWithTimeout(client, buf, 3, 0, 5000), 3);
    EXPECT_EQ(std::string(buf, 3), "hel");
    EXPECT_EQ(ReceiveWithTimeout(client, buf, sizeof(buf), 0, 5000), 2);
    ::close(server);
    // The peer has closed.
    EXPECT_EQ(ReceiveWithTimeout(client, buf, sizeof(buf), 0, 5000), -1);
    platform::SocketClose(client);
}
