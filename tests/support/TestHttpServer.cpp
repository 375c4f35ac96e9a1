#include "support/TestHttpServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/Socket.h"
#include "support/TestTlsCert.h"

namespace
{

using Clock = std::chrono::steady_clock;

// Polls are cut into slices of this length so that Stop is noticed quickly.
constexpr int kSliceMs = 20;
// A request header must arrive within this time and size.
constexpr int kRequestWaitMs = 10000;
constexpr std::size_t kMaxRequest = 65536;
// Requests kept for Requests(): far more than any test makes.
constexpr std::size_t kMaxRecordedRequests = 100000;

const char* ReasonPhrase(int nStatus)
{
    switch (nStatus)
    {
    case 200:
        return "OK";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

std::string Trim(const std::string& str)
{
    std::size_t begin = str.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return std::string();
    std::size_t end = str.find_last_not_of(" \t\r\n");
    return str.substr(begin, end - begin + 1);
}

std::string EvpHex(const EVP_MD* pMd, const std::string& strInput)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(strInput.data(), strInput.size(), digest, &length, pMd, nullptr);
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i)
    {
        hex += kDigits[digest[i] >> 4];
        hex += kDigits[digest[i] & 15];
    }
    return hex;
}

std::string EvpBase64(const std::string& strInput)
{
    std::string out(4 * ((strInput.size() + 2) / 3) + 1, '\0');
    int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(&out[0]),
                            reinterpret_cast<const unsigned char*>(strInput.data()),
                            static_cast<int>(strInput.size()));
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

TestHttpRequest ParseRequest(const std::string& strRaw)
{
    TestHttpRequest request;
    request.strRaw = strRaw;
    std::size_t lineEnd = strRaw.find("\r\n");
    std::string first = strRaw.substr(0, lineEnd);
    std::size_t sp1 = first.find(' ');
    std::size_t sp2 = sp1 == std::string::npos ? std::string::npos : first.find(' ', sp1 + 1);
    if (sp2 != std::string::npos)
        request.strTarget = first.substr(sp1 + 1, sp2 - sp1 - 1);
    request.strPath = request.strTarget.substr(0, request.strTarget.find('?'));
    std::size_t at = lineEnd == std::string::npos ? strRaw.size() : lineEnd + 2;
    while (at < strRaw.size())
    {
        std::size_t end = strRaw.find("\r\n", at);
        if (end == std::string::npos || end == at)
            break;
        std::string line = strRaw.substr(at, end - at);
        std::size_t colon = line.find(':');
        if (colon != std::string::npos)
            request.headers[line.substr(0, colon)] = Trim(line.substr(colon + 1));
        at = end + 2;
    }
    return request;
}

} // namespace

std::string TestHttpRequest::Header(const std::string& strName) const
{
    auto it = headers.find(strName);
    return it == headers.end() ? std::string() : it->second;
}

TestHttpAnswer TestHttpAnswer::Page(int nStatus, const std::string& strBody,
                                    const std::string& strExtraHeaders)
{
    TestHttpAnswer answer;
    answer.strBytes = "HTTP/1.1 " + std::to_string(nStatus) + " " + ReasonPhrase(nStatus) +
                      "\r\nContent-Type: text/xml\r\n" + strExtraHeaders +
                      "Content-Length: " + std::to_string(strBody.size()) + "\r\n\r\n" + strBody;
    return answer;
}

TestHttpAnswer TestHttpAnswer::Chunked(const std::vector<std::string>& chunks, bool bEnd)
{
    TestHttpAnswer answer;
    answer.strBytes =
        "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nTransfer-Encoding: chunked\r\n\r\n";
    char size[32];
    for (const std::string& chunk : chunks)
    {
        std::snprintf(size, sizeof(size), "%zx\r\n", chunk.size());
        answer.strBytes += size + chunk + "\r\n";
    }
    if (bEnd)
        answer.strBytes += "0\r\n\r\n";
    return answer;
}

TestHttpAnswer TestHttpAnswer::Raw(const std::string& strBytes)
{
    TestHttpAnswer answer;
    answer.strBytes = strBytes;
    return answer;
}

TestHttpAnswer TestHttpAnswer::Silent()
{
    TestHttpAnswer answer;
    answer.ending = Ending::kHold;
    return answer;
}

TestHttpAnswer TestHttpAnswer::CloseAtOnce()
{
    TestHttpAnswer answer;
    answer.bReadRequest = false;
    return answer;
}

TestHttpAnswer& TestHttpAnswer::InPieces(std::size_t nSize, int nPause)
{
    nPieceSize = nSize;
    nPauseMs = nPause;
    return *this;
}

TestHttpAnswer& TestHttpAnswer::Paced(int nRate)
{
    nBytesPerSecond = nRate;
    return *this;
}

TestHttpAnswer& TestHttpAnswer::Then(Ending end)
{
    ending = end;
    return *this;
}

// One accepted connection, plain or TLS, with waits that notice Stop.
class CTestHttpServer::CConnection
{
public:
    CConnection(int fd, SSL* pSsl, const std::atomic<bool>& bStop)
        : m_fd(fd), m_pSsl(pSsl), m_bStop(bStop)
    {
    }
    ~CConnection()
    {
        if (m_pSsl != nullptr)
            SSL_free(m_pSsl);
    }

    // Waits for bytes at most nWaitMs; >0 bytes, 0 nothing yet, -1 closed or failed.
    int Recv(char* pBuffer, int nSize, int nWaitMs)
    {
        auto end = Clock::now() + std::chrono::milliseconds(nWaitMs);
        for (;;)
        {
            if (m_pSsl == nullptr || SSL_pending(m_pSsl) <= 0)
            {
                pollfd pfd{m_fd, POLLIN, 0};
                int rc = ::poll(&pfd, 1, kSliceMs);
                if (rc < 0 && errno != EINTR)
                    return -1;
                if (rc <= 0)
                {
                    if (m_bStop.load() || Clock::now() >= end)
                        return m_bStop.load() ? -1 : 0;
                    continue;
                }
            }
            if (m_pSsl == nullptr)
            {
                ssize_t n = ::recv(m_fd, pBuffer, static_cast<std::size_t>(nSize), 0);
                return n > 0 ? static_cast<int>(n) : -1;
            }
            int n = SSL_read(m_pSsl, pBuffer, nSize);
            if (n > 0)
                return n;
            int err = SSL_get_error(m_pSsl, n);
            if (err != SSL_ERROR_WANT_READ && err != SSL_ERROR_WANT_WRITE)
                return -1;
        }
    }

    bool Send(const char* pData, std::size_t nLength)
    {
        while (nLength > 0)
        {
            int n;
            if (m_pSsl == nullptr)
                n = static_cast<int>(::send(m_fd, pData, nLength, MSG_NOSIGNAL));
            else
                n = SSL_write(m_pSsl, pData, static_cast<int>(nLength));
            if (n <= 0)
                return false;
            pData += n;
            nLength -= static_cast<std::size_t>(n);
        }
        return true;
    }

    // Waits until the client closes (or Stop).
    void Hold()
    {
        char scratch[4096];
        while (Recv(scratch, sizeof(scratch), 3600 * 1000) >= 0)
        {
        }
    }

    void Finish(TestHttpAnswer::Ending ending)
    {
        if (ending == TestHttpAnswer::Ending::kReset)
        {
            linger lg{1, 0};
            ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &lg, sizeof(lg));
            return;
        }
        if (m_pSsl != nullptr)
            SSL_shutdown(m_pSsl);
    }

private:
    int m_fd;
    SSL* m_pSsl;
    const std::atomic<bool>& m_bStop;
};

CTestHttpServer::CTestHttpServer()
{
    m_defaultAnswer = TestHttpAnswer::Page(200, "ok");
}

CTestHttpServer::~CTestHttpServer()
{
    Stop();
    if (m_pCtx != nullptr)
        SSL_CTX_free(m_pCtx);
}

bool CTestHttpServer::Start(bool bTls, const std::string& strAddress, std::uint16_t nPort)
{
    in_addr address;
    // Loopback only: tests and the simulator never listen where other hosts could reach.
    if (::inet_aton(strAddress.c_str(), &address) == 0 || (ntohl(address.s_addr) >> 24) != 127)
        return false;
    platform::StartSockets();
    if (bTls)
    {
        std::string certPem, keyPem;
        if (!MakeSelfSignedCertificate(&certPem, &keyPem))
            return false;
        m_pCtx = SSL_CTX_new(TLS_server_method());
        BIO* pCertBio = BIO_new_mem_buf(certPem.data(), static_cast<int>(certPem.size()));
        BIO* pKeyBio = BIO_new_mem_buf(keyPem.data(), static_cast<int>(keyPem.size()));
        X509* pCert = PEM_read_bio_X509(pCertBio, nullptr, nullptr, nullptr);
        EVP_PKEY* pKey = PEM_read_bio_PrivateKey(pKeyBio, nullptr, nullptr, nullptr);
        bool bOk = m_pCtx != nullptr && pCert != nullptr && pKey != nullptr &&
                   SSL_CTX_use_certificate(m_pCtx, pCert) == 1 &&
                   SSL_CTX_use_PrivateKey(m_pCtx, pKey) == 1;
        X509_free(pCert);
        EVP_PKEY_free(pKey);
        BIO_free(pCertBio);
        BIO_free(pKeyBio);
        if (!bOk)
            return false;
    }
    m_fdListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fdListen < 0)
        return false;
    sockaddr_in sin;
    std::memset(&sin, 0, sizeof(sin));
    sin.sin_family = AF_INET;
    sin.sin_addr = address;
    sin.sin_port = htons(nPort);
    int reuse = 1;
    // A simulator restarted on its fixed port must not wait for old connections to time out.
    ::setsockopt(m_fdListen, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof(reuse));
    socklen_t length = sizeof(sin);
    if (::bind(m_fdListen, reinterpret_cast<sockaddr*>(&sin), sizeof(sin)) != 0 ||
        ::listen(m_fdListen, 64) != 0 ||
        ::getsockname(m_fdListen, reinterpret_cast<sockaddr*>(&sin), &length) != 0)
    {
        ::close(m_fdListen);
        m_fdListen = -1;
        return false;
    }
    m_nPort = ntohs(sin.sin_port);
    m_bStop = false;
    m_acceptThread = std::thread([this] { AcceptLoop(); });
    return true;
}

void CTestHttpServer::Stop()
{
    m_bStop = true;
    if (m_acceptThread.joinable())
        m_acceptThread.join();
    if (m_fdListen >= 0)
    {
        ::close(m_fdListen);
        m_fdListen = -1;
    }
    std::vector<Worker> workers;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        workers.swap(m_workers);
    }
    for (Worker& worker : workers)
        worker.thread.join();
}

void CTestHttpServer::SetDefaultAnswer(const TestHttpAnswer& answer)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_defaultAnswer = answer;
}

void CTestHttpServer::SetAnswer(const std::string& strTargetOrPath, const TestHttpAnswer& answer)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_answers[strTargetOrPath] = answer;
}

void CTestHttpServer::SetHandler(Handler handler)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_handler = std::move(handler);
}

void CTestHttpServer::DemandBasic(const std::string& strUser, const std::string& strPassword)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_bDemandBasic = true;
    m_strBasicUser = strUser;
    m_strBasicPassword = strPassword;
}

void CTestHttpServer::DemandDigest(const TestDigestDemand& demand)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_pDigest.reset(new TestDigestDemand(demand));
}

std::vector<std::string> CTestHttpServer::Requests() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_requests;
}

std::map<std::string, std::string> CTestHttpServer::ParseAuthFields(const std::string& strValue)
{
    std::map<std::string, std::string> fields;
    std::size_t at = strValue.find(' ');
    while (at != std::string::npos && at < strValue.size())
    {
        at = strValue.find_first_not_of(" ,", at);
        if (at == std::string::npos)
            break;
        std::size_t eq = strValue.find('=', at);
        if (eq == std::string::npos)
            break;
        std::string name = strValue.substr(at, eq - at);
        std::string value;
        if (eq + 1 < strValue.size() && strValue[eq + 1] == '"')
        {
            std::size_t close = strValue.find('"', eq + 2);
            if (close == std::string::npos)
                close = strValue.size();
            value = strValue.substr(eq + 2, close - eq - 2);
            at = close + 1;
        }
        else
        {
            std::size_t comma = strValue.find(',', eq + 1);
            if (comma == std::string::npos)
                comma = strValue.size();
            value = strValue.substr(eq + 1, comma - eq - 1);
            at = comma;
        }
        fields[name] = value;
    }
    return fields;
}

std::string
CTestHttpServer::ExpectedDigestResponse(const TestDigestDemand& demand,
                                        const std::map<std::string, std::string>& fields)
{
    auto field = [&fields](const char* pszName)
    {
        auto it = fields.find(pszName);
        return it == fields.end() ? std::string() : it->second;
    };
    const EVP_MD* pMd = EVP_md5();
    if (demand.strAlgorithm == "SHA-256")
        pMd = EVP_sha256();
    std::string ha1 =
        EvpHex(pMd, demand.strUser + ":" + demand.strRealm + ":" + demand.strPassword);
    std::string ha2 = field("qop") == "auth-int"
                          ? EvpHex(pMd, "GET:" + field("uri") + ":" + EvpHex(pMd, ""))
                          : EvpHex(pMd, "GET:" + field("uri"));
    if (field("qop").empty())
        return EvpHex(pMd, ha1 + ":" + demand.strNonce + ":" + ha2);
    return EvpHex(pMd, ha1 + ":" + demand.strNonce + ":" + field("nc") + ":" + field("cnonce") +
                           ":" + field("qop") + ":" + ha2);
}

void CTestHttpServer::AcceptLoop()
{
    while (!m_bStop.load())
    {
        pollfd pfd{m_fdListen, POLLIN, 0};
        if (::poll(&pfd, 1, kSliceMs) <= 0)
            continue;
        int fd = ::accept4(m_fdListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof(one));
        ++m_nConnections;
        std::lock_guard<std::mutex> guard(m_mutex);
        // Finished connections are joined here, so a long-running server keeps no dead threads.
        for (auto it = m_workers.begin(); it != m_workers.end();)
        {
            if (it->pbDone->load())
            {
                it->thread.join();
                it = m_workers.erase(it);
            }
            else
                ++it;
        }
        Worker worker;
        worker.pbDone = std::make_shared<std::atomic<bool>>(false);
        std::shared_ptr<std::atomic<bool>> pbDone = worker.pbDone;
        worker.thread = std::thread(
            [this, fd, pbDone]
            {
                Serve(fd);
                pbDone->store(true);
            });
        m_workers.push_back(std::move(worker));
    }
}

TestHttpAnswer CTestHttpServer::Choose(const TestHttpRequest& request)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_bDemandBasic)
    {
        std::string expected = "Basic " + EvpBase64(m_strBasicUser + ":" + m_strBasicPassword);
        if (request.Header("Authorization") != expected)
        {
            ++m_nChallenges;
            return TestHttpAnswer::Page(401, "denied",
                                        "WWW-Authenticate: Basic realm=\"recorder\"\r\n");
        }
    }
    if (m_pDigest)
    {
        const TestDigestDemand& demand = *m_pDigest;
        std::string value = request.Header("Authorization");
        std::map<std::string, std::string> fields = ParseAuthFields(value);
        bool bGood = value.compare(0, 7, "Digest ") == 0 && fields["username"] == demand.strUser &&
                     fields["realm"] == demand.strRealm && fields["nonce"] == demand.strNonce &&
                     fields["uri"] == request.strTarget &&
                     fields["response"] == ExpectedDigestResponse(demand, fields);
        if (!bGood)
        {
            std::string challenge = "WWW-Authenticate: Digest realm=\"" + demand.strRealm + "\"";
            if (!demand.strQop.empty())
                challenge += ", qop=\"" + demand.strQop + "\"";
            if (!demand.strAlgorithm.empty())
                challenge += ", algorithm=" + demand.strAlgorithm;
            challenge += ", nonce=\"" + demand.strNonce + "\"";
            if (!demand.strOpaque.empty())
                challenge += ", opaque=\"" + demand.strOpaque + "\"";
            ++m_nChallenges;
            return TestHttpAnswer::Page(401, "denied", challenge + "\r\n");
        }
    }
    if (m_handler)
        return m_handler(request);
    auto it = m_answers.find(request.strTarget);
    if (it == m_answers.end())
        it = m_answers.find(request.strPath);
    return it != m_answers.end() ? it->second : m_defaultAnswer;
}

void CTestHttpServer::Serve(int fd)
{
    SSL* pSsl = nullptr;
    if (m_pCtx != nullptr)
    {
        pSsl = SSL_new(m_pCtx);
        SSL_set_fd(pSsl, fd);
        // The handshake is bounded: a client that never finishes it costs this long.
        timeval tv{5, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof(tv));
        if (SSL_accept(pSsl) != 1)
        {
            SSL_free(pSsl);
            ERR_clear_error();
            ::close(fd);
            return;
        }
    }
    {
        CConnection conn(fd, pSsl, m_bStop);
        TestHttpAnswer answer;
        bool bReadRequest;
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            bReadRequest = m_defaultAnswer.bReadRequest || m_handler || !m_answers.empty() ||
                           m_bDemandBasic || m_pDigest;
            answer = m_defaultAnswer;
        }
        bool bAnswer = true;
        if (bReadRequest)
        {
            std::string raw;
            char buffer[4096];
            auto end = Clock::now() + std::chrono::milliseconds(kRequestWaitMs);
            while (raw.find("\r\n\r\n") == std::string::npos && raw.size() < kMaxRequest &&
                   Clock::now() < end)
            {
                int n = conn.Recv(buffer, sizeof(buffer), kRequestWaitMs);
                if (n <= 0)
                    break;
                raw.append(buffer, static_cast<std::size_t>(n));
            }
            {
                std::lock_guard<std::mutex> guard(m_mutex);
                // A simulator may run for days: keep the newest requests only.
                if (m_requests.size() >= kMaxRecordedRequests)
                    m_requests.erase(m_requests.begin(),
                                     m_requests.begin() + kMaxRecordedRequests / 2);
                m_requests.push_back(raw);
            }
            bAnswer = raw.find("\r\n\r\n") != std::string::npos;
            if (bAnswer)
                answer = Choose(ParseRequest(raw));
        }
        if (bAnswer)
        {
            bool bOk = true;
            const std::string& bytes = answer.strBytes;
            std::size_t piece = answer.nPieceSize > 0 ? answer.nPieceSize : bytes.size();
            if (answer.nBytesPerSecond > 0 && piece > 1460)
                piece = 1460;
            auto start = Clock::now();
            std::size_t sent = 0;
            while (bOk && sent < bytes.size() && !m_bStop.load())
            {
                std::size_t count = std::min(piece, bytes.size() - sent);
                if (answer.nBytesPerSecond > 0)
                {
                    // Paced: the bytes sent so far never run ahead of the rate.
                    auto due = start + std::chrono::microseconds(static_cast<std::int64_t>(
                                           (sent + count) * 1000000.0 / answer.nBytesPerSecond));
                    std::this_thread::sleep_until(due);
                }
                bOk = conn.Send(bytes.data() + sent, count);
                sent += count;
                m_nBytesSent += static_cast<std::int64_t>(count);
                if (bOk && answer.nPauseMs > 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(answer.nPauseMs));
            }
            while (bOk && !answer.strRepeat.empty() && !m_bStop.load())
            {
                bOk = conn.Send(answer.strRepeat.data(), answer.strRepeat.size());
                m_nBytesSent += static_cast<std::int64_t>(answer.strRepeat.size());
                if (answer.nRepeatPauseMs > 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(answer.nRepeatPauseMs));
            }
            if (bOk && answer.ending == TestHttpAnswer::Ending::kHold)
                conn.Hold();
            conn.Finish(answer.ending);
        }
    }
    ::close(fd);
}
