#include "LineSim.h"

#include "RecorderSim.h"
#include "data/TrainListText.h"
#include "support/TestHttpServer.h"

namespace
{

// A recorder that logs in the way its kind says; the clock of an old-only log is set back
// so that even its newest entry lies outside the seven-day window.
RecorderSimOptions RecorderOptionsFor(const LineSimTrain& train, const LineSimOptions& line,
                                      std::time_t now)
{
    RecorderSimOptions options;
    options.m_strListen = train.m_strAddress;
    options.m_nPort = 0;
    options.m_nDelayMs = line.m_nDelayMs;
    options.m_now = now;
    options.m_strName = "TRAIN-" + train.m_strSetNumber;
    switch (train.m_kind)
    {
    case LineSimKind::kHealthy:
        options.m_nPages = 2;
        options.m_nItemsPerPage = 20;
        options.m_nDays = 10;
        options.m_nBlockEvery = 0;
        break;
    case LineSimKind::kRecentBlocks:
        options.m_nPages = 4;
        options.m_nItemsPerPage = 15;
        options.m_nDays = 6; // every entry inside the window, so all four pages are read
        options.m_nBlockEvery = 8;
        break;
    case LineSimKind::kOldOnly:
        options.m_nPages = 3;
        options.m_nItemsPerPage = 20;
        options.m_nDays = 10;
        options.m_nBlockEvery = 6;
        options.m_now = now - 9 * 86400;
        break;
    case LineSimKind::kSilent:
        options.m_fault = RecorderSimOptions::Fault::kSilent;
        break;
    case LineSimKind::kUnauthorized:
        // Credentials the line check never sends: every request is refused with 401.
        options.m_strUser = "operator";
        options.m_strPassword = "line-check";
        break;
    }
    return options;
}

} // namespace

const char* LineSimKindName(LineSimKind kind)
{
    switch (kind)
    {
    case LineSimKind::kHealthy:
        return "healthy";
    case LineSimKind::kRecentBlocks:
        return "recent-blocks";
    case LineSimKind::kOldOnly:
        return "old-only";
    case LineSimKind::kSilent:
        return "silent";
    case LineSimKind::kUnauthorized:
        return "401";
    }
    return "?";
}

CLineSim::CLineSim(const LineSimOptions& options) : m_options(options) {}

CLineSim::~CLineSim()
{
    Stop();
}

LineSimKind CLineSim::KindOf(int nIndex)
{
    switch ((nIndex + 1) % 10)
    {
    case 2:
    case 6:
    case 9:
        return LineSimKind::kRecentBlocks;
    case 4:
        return LineSimKind::kSilent;
    case 5:
        return LineSimKind::kOldOnly;
    case 7:
        return LineSimKind::kUnauthorized;
    default:
        return LineSimKind::kHealthy;
    }
}

bool CLineSim::HasRdp(int nIndex)
{
    return (nIndex + 1) % 3 != 0;
}

std::string CLineSim::AddressOf(int nIndex)
{
    return "127.0." + std::to_string(nIndex / 200) + "." + std::to_string(10 + nIndex % 200);
}

bool CLineSim::Start(std::string& strError)
{
    Stop();
    if (m_options.m_nTrains < 1 || m_options.m_nTrains > kMaxTrains)
    {
        strError = "a line has 1 to " + std::to_string(kMaxTrains) + " trains, not " +
                   std::to_string(m_options.m_nTrains);
        return false;
    }
    const std::time_t now = m_options.m_now != 0 ? m_options.m_now : std::time(nullptr);
    for (int i = 0; i < m_options.m_nTrains; ++i)
    {
        LineSimTrain train;
        train.m_nID = i + 1;
        train.m_strSetNumber = std::to_string(201 + i);
        train.m_nDirection = i % 2;
        train.m_strAddress = AddressOf(i);
        train.m_kind = m_options.m_bAllHealthy ? LineSimKind::kHealthy : KindOf(i);
        train.m_bRdpOpen = m_options.m_bAllHealthy || HasRdp(i);

        auto spRecorder = std::make_unique<CRecorderSim>(RecorderOptionsFor(train, m_options, now));
        if (!spRecorder->Start(strError))
        {
            Stop();
            return false;
        }
        train.m_nPort = spRecorder->Port();
        if (m_fnLog)
            spRecorder->SetRequestLog(m_fnLog);
        m_recorders.push_back(std::move(spRecorder));

        // The remote desktop only has to accept: closing at once never fills an accept queue.
        auto spRdp = std::make_unique<CTestHttpServer>();
        spRdp->SetDefaultAnswer(TestHttpAnswer::CloseAtOnce());
        if (!spRdp->Start(false, train.m_strAddress, 0))
        {
            strError = "cannot listen on " + train.m_strAddress;
            Stop();
            return false;
        }
        train.m_nRdpPort = spRdp->Port();
        if (train.m_bRdpOpen)
            m_rdpListeners.push_back(std::move(spRdp));
        else
            spRdp->Stop(); // a port of this address that nothing listens on any more
        m_trains.push_back(train);
    }
    return true;
}

void CLineSim::Stop()
{
    for (auto& spRdp : m_rdpListeners)
        spRdp->Stop();
    m_rdpListeners.clear();
    for (auto& spRecorder : m_recorders)
        spRecorder->Stop();
    m_recorders.clear();
    m_trains.clear();
}

TrainMap CLineSim::MakeTrainMap() const
{
    TrainMap trains;
    for (const LineSimTrain& sim : m_trains)
    {
        CDataTrain& train = trains[sim.m_nID];
        train.SetSetNumber(sim.m_strSetNumber);
        train.SetDirection(sim.m_nDirection);
        train.SetLTERAddress(sim.m_strAddress);
        train.SetPort(sim.m_nPort);
        train.SetRdpPort(sim.m_nRdpPort);
    }
    return trains;
}

bool CLineSim::WriteTrainsFile(const std::string& strPath) const
{
    return SaveTrainListFile(strPath, MakeTrainMap());
}

void CLineSim::SetRequestLog(std::function<void(const std::string&)> fnLog)
{
    m_fnLog = fnLog;
    for (auto& spRecorder : m_recorders)
        spRecorder->SetRequestLog(fnLog);
}
