// The whole-line check on a simulated line of 64 trains whose recorders answer every request
// after 200 ms: the wall time of the line against the ideal of ceil(64/8) train durations,
// with one train's duration measured in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "LineSim.h"
#include "linecheck/LineCheck.h"
#include "platform/Ping.h"

namespace
{

using Clock = std::chrono::steady_clock;

constexpr int kTrains = 64;
constexpr int kDelayMs = 200; // a slow recorder behind a train's LTE link

std::map<std::string, double>& Results()
{
    static std::map<std::string, double> results;
    return results;
}

bool RealPing()
{
    return platform::GetPingSocketKind() != platform::PingSocketKind::kNone;
}

// Seconds from Start until every train of the map has its result served.
double RunLine(const TrainMap& trains)
{
    CLineCheck::Config config;
    config.nWaitSeconds = 5;
    config.fnPageWaitSeconds = [] { return 5; };
    if (!RealPing())
        config.fnPing = [](const std::string&) { return true; };
    auto spCheck = std::make_shared<CLineCheck>(trains, config);
    Clock::time_point start = Clock::now();
    CLineCheckRun run(spCheck);
    run.Start();
    while (run.GetServedCount() < static_cast<int>(trains.size()))
        run.WaitAndServe(100);
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.Stop();
    return seconds;
}

void RunCheckBench(benchmark::State& state, bool bWholeLine)
{
    LineSimOptions options;
    options.m_nTrains = kTrains;
    options.m_nDelayMs = kDelayMs;
    options.m_bAllHealthy = true;
    CLineSim line(options);
    std::string strError;
    if (!line.Start(strError))
    {
        state.SkipWithError(strError.c_str());
        return;
    }
    TrainMap trains = line.MakeTrainMap();
    if (!bWholeLine)
    {
        TrainMap one;
        one[trains.begin()->first] = trains.begin()->second;
        trains = one;
    }
    double best = 0;
    for (auto _ : state)
    {
        double seconds = RunLine(trains);
        state.SetIterationTime(seconds);
        best = best == 0 || seconds < best ? seconds : best;
    }
    Results()[bWholeLine ? "line" : "train"] = best;
    state.counters["trains"] = static_cast<double>(trains.size());
}

void BM_OneTrain(benchmark::State& state)
{
    RunCheckBench(state, false);
}

void BM_LineOf64(benchmark::State& state)
{
    RunCheckBench(state, true);
}

BENCHMARK(BM_OneTrain)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineOf64)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    auto& results = Results();
    if (results.count("train") && results.count("line"))
    {
        const int nRounds = (kTrains + CLineCheckRun::kWorkers - 1) / CLineCheckRun::kWorkers;
        const double ideal = nRounds * results["train"];
        std::printf("ping: %s\n",
                    RealPing() ? "ICMP echo on loopback" : "scripted (no ICMP socket)");
        std::printf("one train: %.0f ms (best of 3); line of %d: %.0f ms (best of 3)\n",
                    results["train"] * 1000, kTrains, results["line"] * 1000);
        std::printf("ideal %d x one train = %.0f ms; line / ideal = %.2f\n", nRounds, ideal * 1000,
                    results["line"] / ideal);
    }
    return 0;
}
