// A simulated line on loopback: one recorder per train on an address of its own, a
// remote-desktop listener on some trains, and the matching train list file.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/DataTrains.h"

class CRecorderSim;
class CTestHttpServer;

// What a train's recorder holds and how it answers.
enum class LineSimKind
{
    kHealthy,      // a log without blocked recordings
    kRecentBlocks, // "Record Block" entries of the last days over several pages
    kOldOnly,      // every entry older than the error window, blocks among them
    kSilent,       // accepts and reads requests, never answers
    kUnauthorized, // demands credentials, so every log request gets 401
};

const char* LineSimKindName(LineSimKind kind);

struct LineSimOptions
{
    int m_nTrains = 20;
    int m_nDelayMs = 0;         // before every recorder answer (benchmarks)
    bool m_bAllHealthy = false; // every recorder healthy, every train with remote desktop
    std::time_t m_now = 0;      // 0: the present time
};

struct LineSimTrain
{
    int m_nID = 0;
    std::string m_strSetNumber;
    int m_nDirection = 0;
    std::string m_strAddress;
    std::uint16_t m_nPort = 0;
    std::uint16_t m_nRdpPort = 0;
    bool m_bRdpOpen = false;
    LineSimKind m_kind = LineSimKind::kHealthy;
};

class CLineSim
{
public:
    // The most trains a line may have: 127.0.B.H with H from 10 to 209, B from 0 to 4.
    static constexpr int kMaxTrains = 1000;

    explicit CLineSim(const LineSimOptions& options);
    ~CLineSim();
    CLineSim(const CLineSim&) = delete;
    CLineSim& operator=(const CLineSim&) = delete;

    // The layout of train nIndex (from 0), repeating every ten trains: trains 2, 6 and 9
    // recent blocks, 4 silent, 5 old-only, 7 answers 401, the rest healthy; every third
    // train has no remote-desktop listener.
    static LineSimKind KindOf(int nIndex);
    static bool HasRdp(int nIndex);
    static std::string AddressOf(int nIndex);

    // Starts every recorder and listener; false with a reason (and nothing left running).
    bool Start(std::string& strError);
    void Stop();

    const std::vector<LineSimTrain>& Trains() const { return m_trains; }
    // The recorder of train nIndex (from 0) of the started line, e.g. for its log entries.
    const CRecorderSim& Recorder(int nIndex) const { return *m_recorders[nIndex]; }
    TrainMap MakeTrainMap() const;
    // Writes the train list ("CheckTrains2.xml") of the started line.
    bool WriteTrainsFile(const std::string& strPath) const;

    // Called with one line per recorder request.
    void SetRequestLog(std::function<void(const std::string&)> fnLog);

private:
    LineSimOptions m_options;
    std::vector<LineSimTrain> m_trains;
    std::vector<std::unique_ptr<CRecorderSim>> m_recorders;
    std::vector<std::unique_ptr<CTestHttpServer>> m_rdpListeners;
    std::function<void(const std::string&)> m_fnLog;
};
