// CHttpClient: the connection outcome, the credential modes and the Digest exchange against
// the loopback server that checks the credentials itself.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "support/TestHttpServer.h"
#include "web/HttpClient.h"
#include "web/SimpleHttpParser.h"

namespace
{

using Clock = std::chrono::steady_clock;

// A loopback port that nothing listens on: bound once, then released.
std::uint16_t ClosedPort()
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

TEST(HttpClientTest, RefusedConnectionIsFalseWithEmptyAnswer)
{
    for (bool bTls : {false, true})
    {
        CHttpClient client("127.0.0.1", ClosedPort(), "admin", "pw", HTTP_AUTH_QUERY, bTls);
        std::string answer;
        EXPECT_FALSE(client.Get("/system/information.cgi?method=get", answer, 1)) << bTls;
        EXPECT_EQ("", answer);
    }
    CHttpClient portZero("127.0.0.1", 0, "", "");
    std::string answer;
    EXPECT_FALSE(portZero.Get("/", answer, 1));
}

TEST(HttpClientTest, SilentRecorderIsTrueWithEmptyAnswerAfterTheWait)
{
    CTestHttpServer server;
    ASSERT_TRUE(server.Start());
    server.SetDefaultAnswer(TestHttpAnswer::Silent());
    CHttpClient client("127.0.0.1", server.Port(), "", "");
    std::string answer;
    auto start = Clock::now();
    EXPECT_TRUE(client.Get("/system/information.cgi?method=get", answer, 1));
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_EQ("", answer);
    EXPECT_GT(seconds, 0.9);
    EXPECT_LT(seconds, 3.0);
}

// 170 KB over a link of 1 Mbit/s takes about 1.4 s: bytes are read as they come, so the page
// arrives whole although it takes longer than one wait.
TEST(HttpClientTest, SlowLinkPageArrivesWhole)
{
    CTestHttpServer server;
    ASSERT_TRUE(server.Start());
    std::string body(170 * 1024, 'v');
    server.SetDefaultAnswer(TestHttpAnswer::Page(200, body).Paced(1000000 / 8));
    CHttpClient client("127.0.0.1", server.Port(), "", "");
    std::string answer;
    ASSERT_TRUE(client.Get("/system/log.cgi?first=1&last=1&page=1", answer, 1));
    EXPECT_TRUE(CSimpleHttpParser(answer.c_str()).GetBody() == body + "\n");
}

struct ModeCase
{
    const char* pszName;
    int nMode;
    bool bTls;
    const char* pszUser;
    const char* pszPassword;
    const char* pszPath;
    std::string strExpectedRequest;
};

// The request bytes each mode puts on the wire.
TEST(HttpClientTest, RequestBytesPerMode)
{
    const std::string tail = " HTTP/1.1\r\nAccept: */*\r\nUser-Agent: ZORQ\r\nHost: 127.0.0.1\r\n";
    const std::string end = "Connection: Keep-Alive\r\n\r\n";
    const ModeCase cases[] = {
        {"query, no credentials", HTTP_AUTH_QUERY, false, "", "",
         "/system/information.cgi?method=get",
         "GET /system/information.cgi?method=get" + tail + end},
        {"query with credentials", HTTP_AUTH_QUERY, false, "admin", "pw",
         "/system/information.cgi?method=get",
         "GET /system/information.cgi?method=get&id=admin&password=pw" + tail + end},
        {"query over TLS", HTTP_AUTH_QUERY, true, "admin", "",
         "/system/log.cgi?first=1&last=1&page=2",
         "GET /system/log.cgi?first=1&last=1&page=2&id=admin&password=" + tail + end},
        {"basic", HTTP_AUTH_BASIC, false, "admin", "pw", "/x",
         "GET /x" + tail + "Authorization: Basic YWRtaW46cHc=\r\n" + end},
        {"basic without credentials", HTTP_AUTH_BASIC, false, "", "", "/x", "GET /x" + tail + end},
    };
    for (const ModeCase& c : cases)
    {
        CTestHttpServer server;
        ASSERT_TRUE(server.Start(c.bTls));
        CHttpClient client("127.0.0.1", server.Port(), c.pszUser, c.pszPassword, c.nMode, c.bTls);
        std::string answer;
        ASSERT_TRUE(client.Get(c.pszPath, answer, 2)) << c.pszName;
        EXPECT_EQ(200, CSimpleHttpParser(answer.c_str()).GetStatusCode()) << c.pszName;
        ASSERT_EQ(1u, server.Requests().size()) << c.pszName;
        EXPECT_EQ(c.strExpectedRequest, server.Requests()[0]) << c.pszName;
    }
}

TEST(HttpClientTest, BasicAcceptedAndRejected)
{
    CTestHttpServer server;
    ASSERT_TRUE(server.Start());
    server.DemandBasic("admin", "s3cret");
    server.SetDefaultAnswer(TestHttpAnswer::Page(200, "<System/>"));
    std::string answer;
    ASSERT_TRUE(CHttpClient("127.0.0.1", server.Port(), "admin", "s3cret", HTTP_AUTH_BASIC)
                    .Get("/i", answer, 2));
    EXPECT_EQ(200, CSimpleHttpParser(answer.c_str()).GetStatusCode());
    ASSERT_TRUE(CHttpClient("127.0.0.1", server.Port(), "admin", "wrong", HTTP_AUTH_BASIC)
                    .Get("/i", answer, 2));
    EXPECT_EQ(401, CSimpleHttpParser(answer.c_str()).GetStatusCode());
}

struct DigestCase
{
    const char* pszName;
    TestDigestDemand demand;
    const char* pszClientPassword;
    bool bTls;
    int nStatus;
    int nConnections;
};

// The server checks the response with OpenSSL's digests; a wrong password or an unsupported
// algorithm ends with the second 401 after exactly one retry.
TEST(HttpClientTest, DigestExchange)
{
    TestDigestDemand md5;
    md5.strUser = "admin";
    md5.strPassword = "pw";
    TestDigestDemand sha = md5;
    sha.strAlgorithm = "SHA-256";
    TestDigestDemand noQop = md5;
    noQop.strQop = "";
    noQop.strAlgorithm = "";
    noQop.strOpaque = "";
    TestDigestDemand qopList = md5;
    qopList.strQop = "auth,auth-int";
    TestDigestDemand authInt = sha;
    authInt.strQop = "auth-int";
    TestDigestDemand sess = md5;
    sess.strAlgorithm = "MD5-sess";
    const DigestCase cases[] = {
        {"md5 qop auth", md5, "pw", false, 200, 2},
        {"sha-256", sha, "pw", false, 200, 2},
        {"no qop", noQop, "pw", false, 200, 2},
        {"qop list", qopList, "pw", false, 200, 2},
        {"qop auth-int only: entity hash of the empty body", authInt, "pw", false, 200, 2},
        {"over tls", md5, "pw", true, 200, 2},
        {"wrong password: two 401s", md5, "nope", false, 401, 2},
        {"md5-sess is not computed", sess, "pw", false, 401, 2},
    };
    for (const DigestCase& c : cases)
    {
        CTestHttpServer server;
        ASSERT_TRUE(server.Start(c.bTls));
        server.DemandDigest(c.demand);
        server.SetDefaultAnswer(TestHttpAnswer::Page(200, "<System>page</System>"));
        CHttpClient client("127.0.0.1", server.Port(), "admin", c.pszClientPassword,
                           HTTP_AUTH_DIGEST, c.bTls);
        std::string answer;
        ASSERT_TRUE(client.Get("/system/information.cgi?method=get", answer, 2)) << c.pszName;
        CSimpleHttpParser parser(answer.c_str());
        EXPECT_EQ(c.nStatus, parser.GetStatusCode()) << c.pszName;
        EXPECT_EQ(c.nConnections, server.ConnectionCount()) << c.pszName;
        if (c.nStatus == 200)
        {
            EXPECT_EQ("<System>page</System>\n", parser.GetBody()) << c.pszName;
        }
        std::vector<std::string> requests = server.Requests();
        ASSERT_EQ(2u, requests.size()) << c.pszName;
        // The first request carries no credentials at all; the retry one Authorization line
        // after the Connection line.
        EXPECT_EQ(std::string::npos, requests[0].find("Authorization")) << c.pszName;
        EXPECT_NE(std::string::npos, requests[1].find("Connection: Keep-Alive\r\nAuthorization: "))
            << c.pszName;
    }
}

TEST(HttpClientTest, DigestEndsAtOnceOnAnAnswerWithoutChallenge)
{
    CTestHttpServer server;
    ASSERT_TRUE(server.Start());
    server.SetDefaultAnswer(TestHttpAnswer::Page(200, "first"));
    CHttpClient client("127.0.0.1", server.Port(), "admin", "pw", HTTP_AUTH_DIGEST);
    std::string answer;
    ASSERT_TRUE(client.Get("/i", answer, 2));
    EXPECT_EQ("first\n", CSimpleHttpParser(answer.c_str()).GetBody());
    EXPECT_EQ(1, server.ConnectionCount());

    // A 401 without a usable challenge is the answer as received.
    server.SetDefaultAnswer(
        TestHttpAnswer::Page(401, "no", "WWW-Authenticate: Basic realm=\"r\"\r\n"));
    ASSERT_TRUE(client.Get("/i", answer, 2));
    EXPECT_EQ(401, CSimpleHttpParser(answer.c_str()).GetStatusCode());
    EXPECT_EQ(2, server.ConnectionCount());
}

} // namespace
