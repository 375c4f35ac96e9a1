// CMyHttp::Get against the scripted loopback server, over plain TCP and TLS: the request
// bytes, the answer framings, and hostile answers that must end in bounded time.
#include <gtest/gtest.h>

#include <chrono>

#include "support/TestHttpServer.h"
#include "web/HttpReceive.h"
#include "web/MyHttp.h"

namespace
{

using Clock = std::chrono::steady_clock;

// Long answers are shown by their start only.
std::string Abbrev(const std::string& str)
{
    return str.size() <= 200
               ? str
               : str.substr(0, 200) + "... (" + std::to_string(str.size()) + " bytes)";
}

const std::string kOkHeader = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\n";

struct FetchResult
{
    bool bConnected = false;
    bool bGet = false;
    std::string strAnswer;
    double dSeconds = 0;
};

FetchResult Fetch(CTestHttpServer& server, bool bTls, int nWaitSeconds,
                  std::int64_t nMaxBody = kMaxHttpBody)
{
    FetchResult result;
    CMyHttp http;
    http.SetMaxBody(nMaxBody);
    auto start = Clock::now();
    result.bConnected = http.Connect("127.0.0.1", server.Port(), nWaitSeconds, bTls);
    if (result.bConnected)
        result.bGet = http.Get("/p", result.strAnswer, nWaitSeconds);
    result.dSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    return result;
}

TEST(HttpRequestTest, TemplatesByteForByte)
{
    EXPECT_EQ("GET /system/information.cgi?method=get HTTP/1.1\r\n"
              "Accept: */*\r\n"
              "User-Agent: ZORQ\r\n"
              "Host: 10.0.0.5\r\n"
              "Connection: Keep-Alive\r\n"
              "\r\n",
              BuildGetRequest("/system/information.cgi?method=get", "10.0.0.5", ""));
    EXPECT_EQ("GET /a HTTP/1.1\r\nAccept: */*\r\nUser-Agent: ZORQ\r\nHost: h\r\n"
              "Authorization: Basic eDp5\r\nConnection: Keep-Alive\r\n\r\n",
              BuildGetRequest("/a", "h", "Authorization: Basic eDp5\r\n"));
    EXPECT_EQ("GET /a HTTP/1.1\r\nAccept: */*\r\nUser-Agent: ZORQ\r\nHost: h\r\n"
              "Connection: Keep-Alive\r\n\r\n",
              BuildDigestRequest("/a", "h", ""));
    EXPECT_EQ("GET /a HTTP/1.1\r\nAccept: */*\r\nUser-Agent: ZORQ\r\nHost: h\r\n"
              "Connection: Keep-Alive\r\nAuthorization: Digest x\r\n\r\n",
              BuildDigestRequest("/a", "h", "Authorization: Digest x\r\n"));
}

class HttpExchangeTest : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override { ASSERT_TRUE(m_server.Start(GetParam())); }
    CTestHttpServer m_server;
};

TEST_P(HttpExchangeTest, SendsTheRequestBytesOnTheWire)
{
    m_server.SetDefaultAnswer(TestHttpAnswer::Page(200, "x"));
    FetchResult r = Fetch(m_server, GetParam(), 2);
    ASSERT_TRUE(r.bGet);
    ASSERT_EQ(1u, m_server.Requests().size());
    EXPECT_EQ("GET /p HTTP/1.1\r\nAccept: */*\r\nUser-Agent: ZORQ\r\nHost: 127.0.0.1\r\n"
              "Connection: Keep-Alive\r\n\r\n",
              m_server.Requests()[0]);
}

struct AnswerCase
{
    const char* pszName;
    TestHttpAnswer answer;
    bool bGet;
    std::string strAnswer;
};

// Well-formed and oddly framed answers: what succeeds and what the answer text holds.
TEST_P(HttpExchangeTest, AnswerFramings)
{
    const std::string cl5 = kOkHeader + "Content-Length: 5\r\n\r\n";
    const std::string lower5 = kOkHeader + "content-length: 5\r\n\r\n";
    const std::string mixed5 = kOkHeader + "Content-length: 5\r\n\r\n";
    const std::string chunkedHeader = kOkHeader + "Transfer-Encoding: chunked\r\n\r\n";
    std::string header4095 = "HTTP/1.1 200 OK\r\nX-Pad: ";
    header4095 += std::string(4095 - header4095.size() - 4, 'p') + "\r\n\r\n";
    std::string header4096 = "HTTP/1.1 200 OK\r\nX-Pad: ";
    header4096 += std::string(4096 - header4096.size() - 4, 'p') + "\r\n\r\n";
    const AnswerCase cases[] = {
        {"content-length 5", TestHttpAnswer::Raw(cl5 + "hello"), true, cl5 + "hello"},
        {"lower-case content-length", TestHttpAnswer::Raw(lower5 + "hello"), true,
         lower5 + "hello"},
        {"other spelling not read", TestHttpAnswer::Raw(mixed5 + "hello"), true, mixed5},
        {"no length: header only", TestHttpAnswer::Raw(kOkHeader + "\r\nbody"), true,
         kOkHeader + "\r\n"},
        {"chunked 4 5 0", TestHttpAnswer::Chunked({"abcd", "efghi"}), true,
         chunkedHeader + "abcdefghi"},
        {"chunk extension and 0x",
         TestHttpAnswer::Raw(chunkedHeader + "0x4;ext=1\r\nabcd\r\n0\r\n\r\n"), true,
         chunkedHeader + "abcd"},
        {"first chunk 0", TestHttpAnswer::Raw(chunkedHeader + "0\r\n\r\n"), false, chunkedHeader},
        {"chunk 0x100001 ends the body",
         TestHttpAnswer::Raw(chunkedHeader + "4\r\nabcd\r\n100001\r\nxyz\r\n"), true,
         chunkedHeader + "abcd"},
        {"chunk of 0x100000 is taken", TestHttpAnswer::Chunked({std::string(0x100000, 'k')}), true,
         chunkedHeader + std::string(0x100000, 'k')},
        {"size line of 40 hex digits first",
         TestHttpAnswer::Raw(chunkedHeader + std::string(40, 'f') + "\r\nabc\r\n"), false,
         chunkedHeader},
        {"size line of 40 hex digits later",
         TestHttpAnswer::Raw(chunkedHeader + "2\r\nab\r\n" + std::string(39, '0') +
                             "5\r\nabcde\r\n"),
         true, chunkedHeader + "ab"},
        {"size line longer than 255 bytes",
         TestHttpAnswer::Raw(chunkedHeader + "2\r\nab\r\n" + std::string(300, ' ') +
                             "3\r\nabc\r\n"),
         true, chunkedHeader + "ab"},
        {"empty size line", TestHttpAnswer::Raw(chunkedHeader + "\r\n4\r\nabcd\r\n0\r\n\r\n"),
         false, chunkedHeader},
        {"content-length wins over chunked",
         TestHttpAnswer::Raw(kOkHeader +
                             "Transfer-Encoding: chunked\r\nContent-Length: 3\r\n\r\nxyz"),
         true, kOkHeader + "Transfer-Encoding: chunked\r\nContent-Length: 3\r\n\r\nxyz"},
        {"NUL cuts the body", TestHttpAnswer::Raw(cl5 + std::string("ab\0cd", 5)), true,
         cl5 + "ab"},
        {"NUL cuts a chunked body",
         TestHttpAnswer::Raw(chunkedHeader + "3\r\n" + std::string("a\0b", 3) + "\r\n0\r\n\r\n"),
         true, chunkedHeader + "a"},
        {"header in two parts", TestHttpAnswer::Raw(cl5 + "hello").InPieces(20, 300), true,
         cl5 + "hello"},
        {"byte by byte", TestHttpAnswer::Raw(cl5 + "hello").InPieces(1, 1), true, cl5 + "hello"},
        {"chunked byte by byte", TestHttpAnswer::Chunked({"abcd", "efghi"}).InPieces(1, 1), true,
         chunkedHeader + "abcdefghi"},
        {"header of 4095 bytes", TestHttpAnswer::Raw(header4095), true, header4095},
        {"header of 4096 bytes", TestHttpAnswer::Raw(header4096), false, ""},
        {"negative content-length", TestHttpAnswer::Raw(kOkHeader + "Content-Length: -5\r\n\r\nab"),
         true, kOkHeader + "Content-Length: -5\r\n\r\n"},
        {"closed before the body is whole", TestHttpAnswer::Raw(cl5 + "hel"), false, cl5},
        {"closed without answering", TestHttpAnswer::CloseAtOnce(), false, ""},
        {"closed inside the header", TestHttpAnswer::Raw("HTTP/1.1 200 OK\r\nConte"), false, ""},
    };
    for (const AnswerCase& c : cases)
    {
        m_server.SetDefaultAnswer(c.answer);
        FetchResult r = Fetch(m_server, GetParam(), 2);
        ASSERT_TRUE(r.bConnected) << c.pszName;
        EXPECT_EQ(c.bGet, r.bGet) << c.pszName;
        EXPECT_TRUE(c.strAnswer == r.strAnswer) << c.pszName << ": " << Abbrev(r.strAnswer);
        // None of these stalls: each ends well inside one wait.
        EXPECT_LT(r.dSeconds, 1.9) << c.pszName;
    }
}

struct StallCase
{
    const char* pszName;
    TestHttpAnswer answer;
    std::int64_t nMaxBody;
    std::string strAnswer;
    double dMaxSeconds;
};

// Answers that stall, trickle, never end or claim too much: each fails within its bound
// (a wait of 1 s; the whole exchange has 4 s) and holds at most the header.
TEST_P(HttpExchangeTest, HostileAnswersEndInBoundedTime)
{
    const std::string chunkedHeader = kOkHeader + "Transfer-Encoding: chunked\r\n\r\n";
    const std::string big = kOkHeader + "Content-Length: 100000\r\n\r\n";
    TestHttpAnswer endless = TestHttpAnswer::Raw(chunkedHeader);
    endless.strRepeat = "400\r\n" + std::string(0x400, 'e') + "\r\n";
    endless.nRepeatPauseMs = 2;
    TestHttpAnswer endlessFast = endless;
    endlessFast.nRepeatPauseMs = 0;
    TestHttpAnswer resetMidBody = TestHttpAnswer::Raw(big + std::string(50000, 'r'));
    resetMidBody.Then(TestHttpAnswer::Ending::kReset);
    TestHttpAnswer trickle =
        TestHttpAnswer::Raw(kOkHeader + "Content-Length: 400\r\n\r\n" + std::string(400, 't'));
    trickle.InPieces(10, 150); // each piece well inside the wait, the whole far beyond 4 s
    const StallCase cases[] = {
        {"silent recorder", TestHttpAnswer::Silent(), kMaxHttpBody, "", 2.5},
        {"stalls after the header",
         TestHttpAnswer::Raw(big + "abc").Then(TestHttpAnswer::Ending::kHold), kMaxHttpBody, big,
         2.5},
        {"stalls inside a size line",
         TestHttpAnswer::Raw(chunkedHeader + "4\r\nabcd\r\n1").Then(TestHttpAnswer::Ending::kHold),
         kMaxHttpBody, chunkedHeader, 2.5},
        {"endless chunked stream", endless, kMaxHttpBody, chunkedHeader, 6.5},
        {"endless stream over the body cap", endlessFast, 1 << 20, chunkedHeader, 3.0},
        {"huge content-length",
         TestHttpAnswer::Raw(kOkHeader + "Content-Length: 99999999999\r\n\r\nabc")
             .Then(TestHttpAnswer::Ending::kHold),
         kMaxHttpBody, kOkHeader + "Content-Length: 99999999999\r\n\r\n", 0.9},
        {"content-length one above the cap",
         TestHttpAnswer::Raw(kOkHeader + "Content-Length: 67108865\r\n\r\nabc")
             .Then(TestHttpAnswer::Ending::kHold),
         kMaxHttpBody, kOkHeader + "Content-Length: 67108865\r\n\r\n", 0.9},
        {"reset mid-body", resetMidBody, kMaxHttpBody, big, 1.5},
        {"trickling answer", trickle, kMaxHttpBody, kOkHeader + "Content-Length: 400\r\n\r\n", 6.5},
    };
    for (const StallCase& c : cases)
    {
        m_server.SetDefaultAnswer(c.answer);
        FetchResult r = Fetch(m_server, GetParam(), 1, c.nMaxBody);
        ASSERT_TRUE(r.bConnected) << c.pszName;
        EXPECT_FALSE(r.bGet) << c.pszName;
        EXPECT_TRUE(c.strAnswer == r.strAnswer) << c.pszName << ": " << Abbrev(r.strAnswer);
        EXPECT_LT(r.dSeconds, c.dMaxSeconds) << c.pszName;
    }
}

// A large body at loopback speed: read whole, byte for byte, in one exchange.
TEST_P(HttpExchangeTest, LargeBodiesArriveWhole)
{
    std::string body(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < body.size(); ++i)
        body[i] = static_cast<char>('A' + i % 23);
    m_server.SetDefaultAnswer(TestHttpAnswer::Page(200, body));
    FetchResult r = Fetch(m_server, GetParam(), 2);
    ASSERT_TRUE(r.bGet);
    ASSERT_GE(r.strAnswer.size(), body.size());
    EXPECT_TRUE(r.strAnswer.compare(r.strAnswer.size() - body.size(), body.size(), body) == 0);
}

INSTANTIATE_TEST_SUITE_P(Transports, HttpExchangeTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& param)
                         { return param.param ? "Tls" : "Plain"; });

} // namespace
