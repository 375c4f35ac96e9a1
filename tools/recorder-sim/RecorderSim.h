// A simulated recorder on loopback: the information page and the system log pages in the
// recorders' form (code page 949), with credentials, framing, delays and faults to choose.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CTestHttpServer;
struct TestHttpAnswer;
struct TestHttpRequest;

struct RecorderSimOptions
{
    enum class Fault
    {
        kNone,
        kSilent,     // accept, read the request, never answer
        kCloseEarly, // close half-way through the answer
        kStatus500,  // answer 500 for log page m_nFaultPage
    };

    std::string m_strListen = "127.0.0.1"; // loopback only: 127.x.x.x
    std::uint16_t m_nPort = 0;             // 0: any free port
    int m_nPages = 3;
    int m_nItemsPerPage = 20;
    int m_nDays = 10;            // the log spans this many days back from now, newest first
    int m_nBlockEvery = 7;       // every n-th entry is a "Record Block"; 0 for none
    int m_nBlockMaxAgeDays = -1; // with >= 0, blocks only in entries at most this old
    bool m_bKorean = true;       // Korean texts in Category and Comment
    std::string m_strUser;       // with a user or password set, requests must carry both
    std::string m_strPassword;
    bool m_bChunked = false;
    int m_nDelayMs = 0; // before every answer
    Fault m_fault = Fault::kNone;
    int m_nFaultPage = 1;
    bool m_bTls = false;
    std::time_t m_now = 0;                 // 0: the present time, read at start
    std::string m_strName = "KELMORA-SIM"; // the recorder's name on its information page
    int m_nLine = 0;                       // > 0: a simulated line of this many trains instead
    std::string m_strTrainsFile = "CheckTrains2.xml"; // the line's train list
};

// One generated log entry, texts in code page 949.
struct RecorderSimEntry
{
    int m_nIndex;
    std::string m_strDate;
    std::string m_strTime;
    std::string m_strCategory;
    std::string m_strContent;
    std::string m_strComment;
};

class CRecorderSim
{
public:
    explicit CRecorderSim(const RecorderSimOptions& options);
    ~CRecorderSim();
    CRecorderSim(const CRecorderSim&) = delete;
    CRecorderSim& operator=(const CRecorderSim&) = delete;

    // Checks the options (loopback address) and starts listening; false with a reason.
    bool Start(std::string& strError);
    void Stop();
    std::uint16_t Port() const;
    const RecorderSimOptions& Options() const { return m_options; }

    // Called with one line per request, e.g. for the command line's log.
    void SetRequestLog(std::function<void(const std::string&)> fnLog);

    // What the pages hold, newest entry first (page 1 first).
    const std::vector<RecorderSimEntry>& Entries() const { return m_entries; }
    std::string MakeInformationPage() const;
    // The XML of a log page (1 .. pages); an empty log page beyond the last.
    std::string MakeLogPage(int nPage) const;

private:
    TestHttpAnswer Answer(const TestHttpRequest& request);
    void Generate();

    RecorderSimOptions m_options;
    std::vector<RecorderSimEntry> m_entries;
    std::unique_ptr<CTestHttpServer> m_pServer;
    std::mutex m_logLock;
    std::function<void(const std::string&)> m_fnLog;
};

// Parses "--name value" options of the simulator's command line into options; false
// with a one-line reason. Unknown options are errors.
bool ParseRecorderSimArgs(const std::vector<std::string>& args, RecorderSimOptions& options,
                          std::string& strError);
