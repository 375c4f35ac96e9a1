// The TLS client against a TLS server no one here wrote: Debian's `openssl s_server`,
// serving a page from a folder of this test, with TLS 1.2 and TLS 1.3.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "support/TempDir.h"
#include "support/TestTlsCert.h"
#include "web/HttpClient.h"
#include "web/SimpleHttpParser.h"
#include "web/TcpConnect.h"

namespace
{

const char kOpenssl[] = "/usr/bin/openssl";

std::uint16_t FreeLoopbackPort()
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sin{};
    sin.sin_family = AF_INET;
    sin.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(sin);
    ::bind(fd, reinterpret_cast<sockaddr*>(&sin), sizeof(sin));
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sin), &length);
    ::close(fd);
    return ntohs(sin.sin_port);
}

// One s_server process, stopped (by its process id) when the object goes.
class COpensslServer
{
public:
    bool Start(const CTempDir& dir, const char* pszVersionFlag)
    {
        std::string cert, key;
        if (!MakeSelfSignedCertificate(&cert, &key) ||
            !WriteFileBytes(dir.File("cert.pem"), cert) ||
            !WriteFileBytes(dir.File("key.pem"), key))
            return false;
        m_nPort = FreeLoopbackPort();
        std::string accept = "127.0.0.1:" + std::to_string(m_nPort);
        std::string certPath = dir.File("cert.pem"), keyPath = dir.File("key.pem");
        m_pid = ::fork();
        if (m_pid == 0)
        {
            // -HTTP serves ./<path> relative to the working folder, the file holding the
            // whole answer (status line and header included).
            if (::chdir(dir.Path().c_str()) != 0)
                ::_exit(127);
            int devNull = ::open("/dev/null", O_RDWR);
            ::dup2(devNull, 0);
            ::dup2(devNull, 1);
            ::dup2(devNull, 2);
            ::execl(kOpenssl, kOpenssl, "s_server", "-accept", accept.c_str(), "-cert",
                    certPath.c_str(), "-key", keyPath.c_str(), pszVersionFlag, "-HTTP", "-quiet",
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        if (m_pid < 0)
            return false;
        // Ready once it accepts connections; give it a generous while.
        for (int i = 0; i < 200; ++i)
        {
            if (ProbeTcpPort("127.0.0.1", m_nPort, 100))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    ~COpensslServer()
    {
        if (m_pid > 0)
        {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    std::uint16_t Port() const { return m_nPort; }

private:
    pid_t m_pid = -1;
    std::uint16_t m_nPort = 0;
};

class OpensslServerInteropTest : public ::testing::TestWithParam<const char*>
{
};

TEST_P(OpensslServerInteropTest, FetchesAPage)
{
    if (::access(kOpenssl, X_OK) != 0)
        GTEST_SKIP() << "openssl command not installed";
    CTempDir dir;
    std::string body = "<System><Information><Model>NVR</Model></Information></System>\r\n";
    for (int i = 0; i < 300; ++i)
        body += "<Line>" + std::to_string(i) + "</Line>\r\n"; // several TLS records
    std::string page = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " +
                       std::to_string(body.size()) + "\r\n\r\n" + body;
    ASSERT_TRUE(WriteFileBytes(dir.File("information.xml"), page));
    COpensslServer server;
    ASSERT_TRUE(server.Start(dir, GetParam()));

    CHttpClient client("127.0.0.1", server.Port(), "", "", HTTP_AUTH_QUERY, true);
    std::string answer;
    ASSERT_TRUE(client.Get("/information.xml", answer, 5));
    EXPECT_EQ(page, answer);
    CSimpleHttpParser parser(answer.c_str());
    EXPECT_EQ(200, parser.GetStatusCode());
}

INSTANTIATE_TEST_SUITE_P(Versions, OpensslServerInteropTest,
                         ::testing::Values("-tls1_2", "-tls1_3"),
                         [](const ::testing::TestParamInfo<const char*>& param)
                         { return std::string(param.param).substr(1); });

} // namespace
