// The two pages Kelmora asks a recorder for, and the paging loop over its system log that
// the recording-error check, the log viewer and the line check share.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class CXmlCfg;

constexpr const char* kInformationPagePath = "/system/information.cgi?method=get";

// "/system/log.cgi?first=1&last=1&page=N".
std::string MakeLogPagePath(int nPage);

// Number of "LogItem" elements of a loaded log page ($System$$Log$$LogItem$), 0 when none.
int CountLogItems(const CXmlCfg& doc);
// "$System$$Log$$LogItem%N$", the path of the N-th item (from 1).
std::string MakeLogItemPath(int nItem);
// A field of the N-th item ("Index", "Date", "Time", "Category", "Content", "Comment").
std::string GetLogItemField(const CXmlCfg& doc, int nItem, const char* pszField);

// Where and as whom a recorder is asked; requests use plain TCP and query credentials.
struct RecorderEndpoint
{
    std::string m_strAddress;
    std::uint16_t m_nPort = 0;
    std::string m_strUser;
    std::string m_strPassword;
};

// How a walk over the log pages ended.
struct LogReadOutcome
{
    enum Code
    {
        kComplete,     // every page up to the page count was read
        kStopped,      // the page visitor asked to stop
        kNoConnection, // the connection for page m_nPage did not open
        kBadAnswer,    // page m_nPage answered m_nStatusCode (not 200) or an empty body
        kUnloadable,   // no root element could be opened in the body of page m_nPage
        kCancelled,    // the caller's stop flag was set between two pages
    };
    Code m_code = kComplete;
    int m_nPage = 0;       // the page the walk ended on
    int m_nStatusCode = 0; // that page's status (200 for an unloadable body)
    int m_nPagesRead = 0;  // pages handed to the visitor

    bool IsFailure() const
    {
        return m_code == kNoConnection || m_code == kBadAnswer || m_code == kUnloadable;
    }
};

// Reads the log page by page over a new connection each: the page count comes from the
// first page's TotalPage (0 when missing), every loaded page goes to the visitor.
class CRecorderLogReader
{
public:
    // fnWaitSeconds is asked before every page, so a changed setting applies at once.
    // fnPage gets each page's document and its number; false stops the walk.
    using WaitSource = std::function<int()>;
    using PageVisitor = std::function<bool(const CXmlCfg& doc, int nPage)>;

    CRecorderLogReader(const RecorderEndpoint& endpoint, WaitSource fnWaitSeconds);
    // With fnStop set, the walk ends (kCancelled) before the next page once it says so.
    LogReadOutcome Read(const PageVisitor& fnPage,
                        const std::function<bool()>& fnStop = std::function<bool()>());

private:
    RecorderEndpoint m_endpoint;
    WaitSource m_fnWaitSeconds;
};
