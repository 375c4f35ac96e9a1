// A scripted HTTP server on 127.0.0.1 (a free port), plain or TLS, for the web client's
// tests, benchmarks and the recorder simulator. Each case says what to answer and how:
// in pieces with pauses, paced, endless, then close, hold the connection or reset it. The
// server records the exact request bytes of every connection and can demand Basic or
// Digest credentials, checked by its own computation. One request per connection: the
// answer is followed by the chosen ending.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ssl_ctx_st;

// How one request is answered.
struct TestHttpAnswer
{
    enum class Ending
    {
        kClose, // close after the last byte
        kHold,  // keep the connection open until the client closes it
        kReset, // close with a reset (RST) after the last byte
    };

    std::string strBytes;       // everything sent, in order
    std::size_t nPieceSize = 0; // 0: one send; else sends of this many bytes
    int nPauseMs = 0;           // pause after every piece
    int nBytesPerSecond = 0;    // 0: as fast as the socket takes; else paced to this rate
    std::string strRepeat;      // sent again and again after strBytes while the client reads
    int nRepeatPauseMs = 0;     // pause between two repeats
    Ending ending = Ending::kClose;
    bool bReadRequest = true; // read the request's header before answering (else at once)

    // A complete answer with "Content-Length" and the reason phrase for the status.
    static TestHttpAnswer Page(int nStatus, const std::string& strBody,
                               const std::string& strExtraHeaders = std::string());
    // A chunked answer: each piece a chunk, then the "0" line (unless bEnd is false).
    static TestHttpAnswer Chunked(const std::vector<std::string>& chunks, bool bEnd = true);
    // Bytes exactly as given.
    static TestHttpAnswer Raw(const std::string& strBytes);
    // Reads the request, never answers, keeps the connection.
    static TestHttpAnswer Silent();
    // Closes at once without reading or answering anything.
    static TestHttpAnswer CloseAtOnce();

    TestHttpAnswer& InPieces(std::size_t nPieceSize, int nPauseMs);
    TestHttpAnswer& Paced(int nBytesPerSecond);
    TestHttpAnswer& Then(Ending ending);
};

// What a connection sent: the raw bytes and the parts of its request line and header.
struct TestHttpRequest
{
    std::string strRaw;
    std::string strTarget;                      // as sent after GET
    std::string strPath;                        // the target up to "?"
    std::map<std::string, std::string> headers; // name as sent -> value without blanks
    std::string Header(const std::string& strName) const;
};

struct TestDigestDemand
{
    std::string strUser;
    std::string strPassword;
    std::string strRealm = "recorder@kelmora";
    std::string strNonce = "5f2b9c1e7a4d";
    std::string strAlgorithm = "MD5"; // "" leaves it out of the challenge
    std::string strQop = "auth";      // "" leaves it out
    std::string strOpaque = "0a1b2c";
};

class CTestHttpServer
{
public:
    using Handler = std::function<TestHttpAnswer(const TestHttpRequest&)>;

    CTestHttpServer();
    ~CTestHttpServer();
    CTestHttpServer(const CTestHttpServer&) = delete;
    CTestHttpServer& operator=(const CTestHttpServer&) = delete;

    // Starts listening on a loopback address and port (0: any free one); with bTls every
    // connection is TLS with a certificate made now.
    bool Start(bool bTls = false, const std::string& strAddress = "127.0.0.1",
               std::uint16_t nPort = 0);
    void Stop();
    std::uint16_t Port() const { return m_nPort; }

    // Answers: a handler wins over answers by exact target, then by path, then the default.
    void SetDefaultAnswer(const TestHttpAnswer& answer);
    void SetAnswer(const std::string& strTargetOrPath, const TestHttpAnswer& answer);
    void SetHandler(Handler handler);

    // Requests without the right Authorization get a 401 with a Basic or Digest challenge.
    void DemandBasic(const std::string& strUser, const std::string& strPassword);
    void DemandDigest(const TestDigestDemand& demand);

    std::vector<std::string> Requests() const;
    int ConnectionCount() const { return m_nConnections.load(); }
    int ChallengesSent() const { return m_nChallenges.load(); }
    // Bytes sent to clients, all connections together.
    std::int64_t BytesSent() const { return m_nBytesSent.load(); }

    // The expected Digest response of a request, computed with OpenSSL's digests.
    static std::string ExpectedDigestResponse(const TestDigestDemand& demand,
                                              const std::map<std::string, std::string>& fields);
    // The fields of an Authorization: Digest value (quotes removed).
    static std::map<std::string, std::string> ParseAuthFields(const std::string& strValue);

private:
    class CConnection;
    struct Worker
    {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> pbDone;
    };
    void AcceptLoop();
    void Serve(int fd);
    TestHttpAnswer Choose(const TestHttpRequest& request);

    int m_fdListen = -1;
    std::uint16_t m_nPort = 0;
    ssl_ctx_st* m_pCtx = nullptr;
    std::atomic<bool> m_bStop{false};
    std::thread m_acceptThread;
    mutable std::mutex m_mutex; // guards everything below
    std::vector<Worker> m_workers;
    std::vector<std::string> m_requests;
    std::map<std::string, TestHttpAnswer> m_answers;
    TestHttpAnswer m_defaultAnswer;
    Handler m_handler;
    std::string m_strBasicUser, m_strBasicPassword;
    bool m_bDemandBasic = false;
    std::unique_ptr<TestDigestDemand> m_pDigest;
    std::atomic<int> m_nConnections{0};
    std::atomic<int> m_nChallenges{0};
    std::atomic<std::int64_t> m_nBytesSent{0};
};
