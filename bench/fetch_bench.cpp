// Page fetches from a loopback server, one new connection per page: CHttpClient::Get against
// libcurl in the same run (microseconds per page and the ratio), and one 170 KB page from a
// server paced at 1 Mbit/s, which must arrive whole.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <curl/curl.h>
#include <map>
#include <string>

#include "support/TestHttpServer.h"
#include "web/HttpClient.h"

namespace
{

using Clock = std::chrono::steady_clock;

constexpr int kPages = 200;
const char kPath[] = "/system/log.cgi?first=1&last=1&page=1";

// A log page of about nBytes: LogItem elements as a recorder sends them.
std::string MakeLogPage(std::size_t nBytes)
{
    std::string body =
        "<?xml version=\"1.0\" encoding=\"euc-kr\"?>\r\n<System><Log><TotalPage>9</TotalPage>\r\n";
    for (int i = 1; body.size() < nBytes; ++i)
        body += "<LogItem><Index>" + std::to_string(i) +
                "</Index><Date>2026-12-10</Date><Time>11:04:00</Time><Category>Record</Category>"
                "<Content>Record Block CH" +
                std::to_string(i % 16) + "</Content><Comment></Comment></LogItem>\r\n";
    return body + "</Log></System>\r\n";
}

// Microseconds per page of each run, by name, for the ratio printed at the end.
std::map<std::string, double>& Results()
{
    static std::map<std::string, double> results;
    return results;
}

std::size_t AppendToString(char* pData, std::size_t nSize, std::size_t nCount, void* pUser)
{
    static_cast<std::string*>(pUser)->append(pData, nSize * nCount);
    return nSize * nCount;
}

void BM_FetchKelmora(benchmark::State& state)
{
    CTestHttpServer server;
    std::string body = MakeLogPage(static_cast<std::size_t>(state.range(0)));
    server.SetDefaultAnswer(TestHttpAnswer::Page(200, body));
    if (!server.Start())
    {
        state.SkipWithError("server did not start");
        return;
    }
    CHttpClient client("127.0.0.1", server.Port(), "admin", "pw");
    // One answer text for all pages, as the curl run keeps its buffer.
    std::string answer;
    auto start = Clock::now();
    std::int64_t pages = 0;
    for (auto _ : state)
    {
        answer.clear();
        if (!client.Get(kPath, answer, 5) || answer.size() < body.size())
        {
            state.SkipWithError("fetch failed");
            return;
        }
        ++pages;
    }
    double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / pages;
    state.counters["us_per_page"] = us;
    state.SetBytesProcessed(pages * static_cast<std::int64_t>(body.size()));
    Results()["kelmora/" + std::to_string(state.range(0))] = us;
}

void BM_FetchCurl(benchmark::State& state)
{
    CTestHttpServer server;
    std::string body = MakeLogPage(static_cast<std::size_t>(state.range(0)));
    server.SetDefaultAnswer(TestHttpAnswer::Page(200, body));
    if (!server.Start())
    {
        state.SkipWithError("server did not start");
        return;
    }
    std::string url =
        "http://127.0.0.1:" + std::to_string(server.Port()) + kPath + "&id=admin&password=pw";
    CURL* pCurl = curl_easy_init();
    std::string answer;
    curl_easy_setopt(pCurl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(pCurl, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(pCurl, CURLOPT_WRITEFUNCTION, AppendToString);
    curl_easy_setopt(pCurl, CURLOPT_WRITEDATA, &answer);
    curl_easy_setopt(pCurl, CURLOPT_USERAGENT, "ZORQ");
    auto start = Clock::now();
    std::int64_t pages = 0;
    for (auto _ : state)
    {
        answer.clear();
        if (curl_easy_perform(pCurl) != CURLE_OK || answer.size() != body.size())
        {
            state.SkipWithError("curl fetch failed");
            break;
        }
        ++pages;
    }
    curl_easy_cleanup(pCurl);
    if (pages == 0)
        return;
    double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / pages;
    state.counters["us_per_page"] = us;
    state.SetBytesProcessed(pages * static_cast<std::int64_t>(body.size()));
    Results()["curl/" + std::to_string(state.range(0))] = us;
}

// 170 KB at 1 Mbit/s takes about 1.4 s; every wait is met, so the page must arrive whole.
void BM_FetchPaced1Mbit(benchmark::State& state)
{
    CTestHttpServer server;
    std::string body = MakeLogPage(170 * 1024);
    server.SetDefaultAnswer(TestHttpAnswer::Page(200, body).Paced(1000000 / 8));
    if (!server.Start())
    {
        state.SkipWithError("server did not start");
        return;
    }
    CHttpClient client("127.0.0.1", server.Port(), "admin", "pw");
    for (auto _ : state)
    {
        std::string answer;
        auto start = Clock::now();
        bool bOk = client.Get(kPath, answer, 5) && answer.size() >= body.size() &&
                   answer.compare(answer.size() - body.size(), body.size(), body) == 0;
        state.counters["seconds"] = std::chrono::duration<double>(Clock::now() - start).count();
        if (!bOk)
        {
            state.SkipWithError("paced fetch failed");
            return;
        }
    }
}

BENCHMARK(BM_FetchKelmora)
    ->Arg(10 * 1024)
    ->Arg(170 * 1024)
    ->Iterations(kPages)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK(BM_FetchCurl)
    ->Arg(10 * 1024)
    ->Arg(170 * 1024)
    ->Iterations(kPages)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK(BM_FetchPaced1Mbit)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const char* size : {"10240", "174080"})
    {
        auto ours = Results().find(std::string("kelmora/") + size);
        auto peer = Results().find(std::string("curl/") + size);
        if (ours != Results().end() && peer != Results().end())
            std::printf("page of %s bytes: CHttpClient %.1f us, libcurl %.1f us, ratio %.2f\n",
                        size, ours->second, peer->second, ours->second / peer->second);
    }
    curl_global_cleanup();
    return 0;
}
