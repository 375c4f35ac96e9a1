// kelmora-recorder-sim: a simulated recorder on loopback, for training, demos and tests.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <thread>

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
    "  --help               this text\n"
    "It answers /system/information.cgi?method=get and /system/log.cgi?first=1&last=1&page=N\n"
    "and logs one line per request until it is stopped (Ctrl+C).\n";

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
