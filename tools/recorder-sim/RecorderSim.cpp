#include "RecorderSim.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/Codepage.h"
#include "support/TestHttpServer.h"

namespace
{

std::string K(const char* utf8)
{
    return platform::Utf8ToCp949(utf8);
}

// The value of a query parameter of a request target, or "" when absent.
std::string QueryValue(const std::string& strTarget, const std::string& strName)
{
    std::size_t q = strTarget.find('?');
    if (q == std::string::npos)
        return std::string();
    std::string query = "&" + strTarget.substr(q + 1);
    std::size_t at = query.find("&" + strName + "=");
    if (at == std::string::npos)
        return std::string();
    at += strName.size() + 2;
    std::size_t end = query.find('&', at);
    return query.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

bool HasQueryValue(const std::string& strTarget, const std::string& strName)
{
    std::size_t q = strTarget.find('?');
    return q != std::string::npos &&
           ("&" + strTarget.substr(q + 1)).find("&" + strName + "=") != std::string::npos;
}

// The target with the password's value hidden, for the request log.
std::string MaskPassword(const std::string& strTarget)
{
    std::size_t at = strTarget.find("password=");
    if (at == std::string::npos)
        return strTarget;
    std::size_t end = strTarget.find('&', at);
    return strTarget.substr(0, at + 9) + "***" +
           (end == std::string::npos ? std::string() : strTarget.substr(end));
}

std::string Escape(const std::string& s)
{
    std::string out;
    for (char c : s)
    {
        switch (c)
        {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool IsLoopback(const std::string& strAddress)
{
    unsigned a, b, c, d;
    char tail;
    return std::sscanf(strAddress.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail) == 4 &&
           a == 127 && b < 256 && c < 256 && d < 256;
}

} // namespace

CRecorderSim::CRecorderSim(const RecorderSimOptions& options) : m_options(options)
{
    if (m_options.m_now == 0)
        m_options.m_now = std::time(nullptr);
    Generate();
}

CRecorderSim::~CRecorderSim()
{
    Stop();
}

void CRecorderSim::Generate()
{
    const int nTotal = std::max(0, m_options.m_nPages) * std::max(0, m_options.m_nItemsPerPage);
    // Spread the entries evenly over the days, the newest a minute ago.
    const double spacing =
        nTotal > 1 ? (static_cast<double>(m_options.m_nDays) * 86400.0 - 120.0) / (nTotal - 1)
                   : 0.0;
    const char* categoriesKo[] = {"시스템", "녹화", "이벤트", "네트워크"};
    const char* categoriesEn[] = {"System", "Record", "Event", "Network"};
    const char* contents[] = {"Recording started", "Login admin", "Motion detected",
                              "Network link up", "Disk check passed"};
    m_entries.reserve(static_cast<std::size_t>(nTotal));
    for (int k = 0; k < nTotal; ++k)
    {
        std::time_t t = m_options.m_now - 60 - static_cast<std::time_t>(k * spacing);
        std::tm local{};
        localtime_r(&t, &local);
        char date[64], time[64];
        std::snprintf(date, sizeof(date), "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1,
                      local.tm_mday);
        std::snprintf(time, sizeof(time), "%02d:%02d:%02d", local.tm_hour, local.tm_min,
                      local.tm_sec);
        int channel = 1 + k % 16;
        bool bOldEnough = m_options.m_nBlockMaxAgeDays < 0 ||
                          (m_options.m_now - t) <= m_options.m_nBlockMaxAgeDays * 86400;
        bool bBlock = m_options.m_nBlockEvery > 0 && bOldEnough &&
                      (k % m_options.m_nBlockEvery) == m_options.m_nBlockEvery - 1;
        RecorderSimEntry e;
        e.m_nIndex = nTotal - k;
        e.m_strDate = date;
        e.m_strTime = time;
        int cat = bBlock ? 1 : k % 4;
        e.m_strCategory = m_options.m_bKorean ? K(categoriesKo[cat]) : categoriesEn[cat];
        e.m_strContent =
            bBlock ? "Record Block (CH" + std::to_string(channel) + ")"
                   : std::string(contents[k % 5]) + " (CH" + std::to_string(channel) + ")";
        if (m_options.m_bKorean)
            e.m_strComment =
                bBlock ? K("채널 ") + std::to_string(channel) + K(" 녹화 중단") : K("정상");
        else
            e.m_strComment = bBlock ? "channel " + std::to_string(channel) + " stopped" : "ok";
        m_entries.push_back(std::move(e));
    }
}

std::string CRecorderSim::MakeInformationPage() const
{
    std::tm local{};
    std::time_t now = m_options.m_now;
    localtime_r(&now, &local);
    char stamp[96];
    std::snprintf(stamp, sizeof(stamp), "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    std::string page = "<?xml version=\"1.0\" encoding=\"euc-kr\"?>\r\n<System>\r\n";
    page += "\t<Information>\r\n";
    page += "\t\t<Name>" + Escape(m_options.m_strName) + "</Name>\r\n";
    page += "\t\t<Model>NVR-16CH</Model>\r\n";
    page += "\t\t<Location>" + K("전동차 녹화기") + "</Location>\r\n";
    page += "\t\t<Firmware>2.4.1</Firmware>\r\n";
    page += "\t\t<Channels>16</Channels>\r\n";
    page += "\t\t<LogPages>" + std::to_string(m_options.m_nPages) + "</LogPages>\r\n";
    page += "\t\t<Time>" + std::string(stamp) + "</Time>\r\n";
    page += "\t</Information>\r\n</System>\r\n";
    return page;
}

std::string CRecorderSim::MakeLogPage(int nPage) const
{
    std::string page = "<?xml version=\"1.0\" encoding=\"euc-kr\"?>\r\n<System>\r\n\t<Log>\r\n";
    page += "\t\t<TotalPage>" + std::to_string(m_options.m_nPages) + "</TotalPage>\r\n";
    std::size_t first = static_cast<std::size_t>(nPage - 1) *
                        static_cast<std::size_t>(std::max(0, m_options.m_nItemsPerPage));
    for (std::size_t i = first; nPage >= 1 && i < m_entries.size() &&
                                i < first + static_cast<std::size_t>(m_options.m_nItemsPerPage);
         ++i)
    {
        const RecorderSimEntry& e = m_entries[i];
        page += "\t\t<LogItem>\r\n";
        page += "\t\t\t<Index>" + std::to_string(e.m_nIndex) + "</Index>\r\n";
        page += "\t\t\t<Date>" + e.m_strDate + "</Date>\r\n";
        page += "\t\t\t<Time>" + e.m_strTime + "</Time>\r\n";
        page += "\t\t\t<Category>" + Escape(e.m_strCategory) + "</Category>\r\n";
        page += "\t\t\t<Content>" + Escape(e.m_strContent) + "</Content>\r\n";
        page += "\t\t\t<Comment>" + Escape(e.m_strComment) + "</Comment>\r\n";
        page += "\t\t</LogItem>\r\n";
    }
    page += "\t</Log>\r\n</System>\r\n";
    return page;
}

TestHttpAnswer CRecorderSim::Answer(const TestHttpRequest& request)
{
    if (m_options.m_nDelayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(m_options.m_nDelayMs));

    TestHttpAnswer answer;
    bool bWantsCredentials = !m_options.m_strUser.empty() || !m_options.m_strPassword.empty();
    int nPage = 0;
    if (bWantsCredentials && (!HasQueryValue(request.strTarget, "id") ||
                              QueryValue(request.strTarget, "id") != m_options.m_strUser ||
                              QueryValue(request.strTarget, "password") != m_options.m_strPassword))
        answer = TestHttpAnswer::Page(401, "<Error>Unauthorized</Error>");
    else if (request.strPath == "/system/information.cgi" &&
             QueryValue(request.strTarget, "method") == "get")
        answer = TestHttpAnswer::Page(200, MakeInformationPage(), "Content-Type: text/xml\r\n");
    else if (request.strPath == "/system/log.cgi")
    {
        nPage = std::atoi(QueryValue(request.strTarget, "page").c_str());
        if (m_options.m_fault == RecorderSimOptions::Fault::kStatus500 &&
            nPage == m_options.m_nFaultPage)
            answer = TestHttpAnswer::Page(500, "<Error>Internal</Error>");
        else
        {
            std::string body = MakeLogPage(nPage);
            if (m_options.m_bChunked)
            {
                // Chunks of about 4 KB, as the recorders' servers cut them.
                std::vector<std::string> chunks;
                for (std::size_t at = 0; at < body.size(); at += 4096)
                    chunks.push_back(body.substr(at, 4096));
                answer = TestHttpAnswer::Chunked(chunks);
            }
            else
                answer = TestHttpAnswer::Page(200, body, "Content-Type: text/xml\r\n");
        }
    }
    else
        answer = TestHttpAnswer::Page(404, "<Error>Not Found</Error>");

    if (m_options.m_fault == RecorderSimOptions::Fault::kSilent)
        answer = TestHttpAnswer::Silent();
    else if (m_options.m_fault == RecorderSimOptions::Fault::kCloseEarly)
        answer = TestHttpAnswer::Raw(answer.strBytes.substr(0, answer.strBytes.size() / 2));

    std::function<void(const std::string&)> fnLog;
    {
        std::lock_guard<std::mutex> guard(m_logLock);
        fnLog = m_fnLog;
    }
    if (fnLog)
    {
        std::size_t sp = answer.strBytes.find(' ');
        std::string status = sp == std::string::npos ? "-" : answer.strBytes.substr(sp + 1, 3);
        fnLog(m_options.m_strListen + ":" + std::to_string(Port()) + " GET " +
              MaskPassword(request.strTarget) + " -> " + status + " (" +
              std::to_string(answer.strBytes.size()) + " bytes)");
    }
    return answer;
}

bool CRecorderSim::Start(std::string& strError)
{
    if (!IsLoopback(m_options.m_strListen))
    {
        strError = "the listen address must be a loopback address (127.x.x.x), not " +
                   m_options.m_strListen;
        return false;
    }
    m_pServer = std::make_unique<CTestHttpServer>();
    m_pServer->SetHandler([this](const TestHttpRequest& request) { return Answer(request); });
    if (!m_pServer->Start(m_options.m_bTls, m_options.m_strListen, m_options.m_nPort))
    {
        strError =
            "cannot listen on " + m_options.m_strListen + ":" + std::to_string(m_options.m_nPort);
        m_pServer.reset();
        return false;
    }
    return true;
}

void CRecorderSim::Stop()
{
    if (m_pServer)
        m_pServer->Stop();
    m_pServer.reset();
}

std::uint16_t CRecorderSim::Port() const
{
    return m_pServer ? m_pServer->Port() : 0;
}

void CRecorderSim::SetRequestLog(std::function<void(const std::string&)> fnLog)
{
    std::lock_guard<std::mutex> guard(m_logLock);
    m_fnLog = std::move(fnLog);
}
