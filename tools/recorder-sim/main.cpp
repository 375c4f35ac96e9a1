// kelmora-recorder-sim: a simulated recorder on loopback, for training, demos and tests.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <thread>

#include "LineSim.h"
#include "RecorderSim.h"
#include "platform/Codepage.h"

namespace
{

std::atomic<bool> g_bStop{false}; // set from the signal handler: nothing else may be used there

void OnSignal(int)
{
    g_bStop = true;
}

const char* kUsage =
    "Usage: kelmora-recorder-sim [options]\n"
    "  --listen ADDR        loopback address to listen on (127.x.x.x, default 127.0.0.1)\n"
    "  --port N             port (default 0: any free port; the port is printed)\n"
    "  --pages N            log pages (default 3)\n"
    "  --items N            entries per page (default 20)\n"
    "  --days N             the log spans the last N days, newest first (default 10)\n"
    "  --block-every N      every N-th entry is a \"Record Block\" (default 7, 0: none)\n"
    "  --no-korean          English texts in Category and Comment\n"
    "  --user U --password P  credentials the requests must carry (else 401)\n"
    "  --chunked            chunked bodies instead of Content-Length\n"
    "  --delay-ms N         wait before every answer\n"
    "  --fault silent|close|500 [--fault-page K]  never answer, close half-way, or 500 on page K\n"
    "  --tls                TLS with a certificate made at start\n"
    "  --name TEXT          the recorder's name on its information page\n"
    "  --line N             a simulated line of N trains (1 to 1000) instead of one recorder\n"
    "  --trains-file PATH   where --line writes its train list (default CheckTrains2.xml)\n"
    "  --help               this text\n"
    "It answers /system/information.cgi?method=get and /system/log.cgi?first=1&last=1&page=N\n"
    "and logs one line per request until it is stopped (Ctrl+C).\n"
    "\n"
    "The simulated line (--line N; --delay-ms applies to every recorder): train k (k = 1..N,\n"
    "ID k, set number 200+k, direction (k-1) % 2) has its recorder on 127.0.B.H (B = (k-1)/200,\n"
    "H = 10 + (k-1) % 200) at a free port; its remote-desktop port accepts and closes at once,\n"
    "except on every third train (k % 3 == 0), where nothing listens on it. By k % 10:\n"
    "  2, 6, 9  recent \"Record Block\" entries over four pages (the last six days)\n"
    "  4        silent: accepts and reads the log request, never answers\n"
    "  5        old-only: every entry nine or more days old, blocks among them\n"
    "  7        answers 401: demands credentials that the line check never sends\n"
    "  others   healthy: two pages over ten days without blocks\n"
    "The train list with every address and port is written to the --trains-file, then one\n"
    "line per train is printed, then \"line of N trains ready\".\n";

int RunLine(const RecorderSimOptions& options)
{
    LineSimOptions line;
    line.m_nTrains = options.m_nLine;
    line.m_nDelayMs = options.m_nDelayMs;
    CLineSim sim(line);
    sim.SetRequestLog(
        [](const std::string& text)
        {
            std::string utf8 = platform::Cp949ToUtf8(text) + "\n";
            std::fwrite(utf8.data(), 1, utf8.size(), stdout);
            std::fflush(stdout);
        });
    std::string strError;
    if (!sim.Start(strError))
    {
        std::cerr << "kelmora-recorder-sim: " << strError << '\n';
        return 1;
    }
    if (!sim.WriteTrainsFile(options.m_strTrainsFile))
    {
        std::cerr << "kelmora-recorder-sim: cannot write " << options.m_strTrainsFile << '\n';
        return 1;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    for (const LineSimTrain& train : sim.Trains())
        std::printf("train %d (set %s) recorder %s:%u remote desktop %u (%s) log %s\n", train.m_nID,
                    train.m_strSetNumber.c_str(), train.m_strAddress.c_str(),
                    static_cast<unsigned>(train.m_nPort), static_cast<unsigned>(train.m_nRdpPort),
                    train.m_bRdpOpen ? "open" : "closed", LineSimKindName(train.m_kind));
    std::printf("line of %d trains ready; train list written to %s\n", options.m_nLine,
                options.m_strTrainsFile.c_str());
    std::fflush(stdout);
    while (!g_bStop)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    sim.Stop();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& a : args)
        if (a == "--help" || a == "-h")
        {
            std::cout << kUsage;
            return 0;
        }
    RecorderSimOptions options;
    std::string strError;
    if (!ParseRecorderSimArgs(args, options, strError))
    {
        std::cerr << "kelmora-recorder-sim: " << strError << " (see --help)\n";
        return 2;
    }
    if (options.m_nLine > 0)
        return RunLine(options);
    CRecorderSim sim(options);
    sim.SetRequestLog(
        [](const std::string& line)
        {
            std::string utf8 = platform::Cp949ToUtf8(line) + "\n";
            std::fwrite(utf8.data(), 1, utf8.size(), stdout);
            std::fflush(stdout);
        });
    if (!sim.Start(strError))
    {
        std::cerr << "kelmora-recorder-sim: " << strError << '\n';
        return 1;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::printf("recorder listening on %s:%u (%d pages of %d entries)\n",
                options.m_strListen.c_str(), static_cast<unsigned>(sim.Port()), options.m_nPages,
                options.m_nItemsPerPage);
    std::fflush(stdout);
    while (!g_bStop)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    sim.Stop();
    return 0;
}
