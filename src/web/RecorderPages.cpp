#include "web/RecorderPages.h"

#include "platform/CrtNumbers.h"
#include "web/HttpClient.h"
#include "web/SimpleHttpParser.h"
#include "xml/XmlCfg.h"
#include "xml/XmlPath.h"

namespace
{
const char* const kLogPath = "$System$$Log$";
const char* const kTotalPagePath = "$System$$Log$$TotalPage$";
} // namespace

std::string MakeLogPagePath(int nPage)
{
    return "/system/log.cgi?first=1&last=1&page=" + std::to_string(nPage);
}

int CountLogItems(const CXmlCfg& doc)
{
    return doc.GetCount(JoinPath(kLogPath, "LogItem"));
}

std::string MakeLogItemPath(int nItem)
{
    return std::string(kLogPath) + MakeIndexedPathStep("LogItem", nItem);
}

std::string GetLogItemField(const CXmlCfg& doc, int nItem, const char* pszField)
{
    return doc.GetValue(JoinPath(MakeLogItemPath(nItem), pszField));
}

CRecorderLogReader::CRecorderLogReader(const RecorderEndpoint& endpoint, WaitSource fnWaitSeconds)
    : m_endpoint(endpoint), m_fnWaitSeconds(std::move(fnWaitSeconds))
{
}

LogReadOutcome CRecorderLogReader::Read(const PageVisitor& fnPage,
                                        const std::function<bool()>& fnStop)
{
    LogReadOutcome outcome;
    CStrList indexed;
    indexed.Add("LogItem");
    int nPageCount = 1;
    bool bFirstPage = true;
    for (int nPage = 1;; ++nPage)
    {
        outcome.m_nPage = nPage;
        if (fnStop && fnStop())
        {
            outcome.m_code = LogReadOutcome::kCancelled;
            return outcome;
        }
        // Every page over a connection of its own, as the recorders expect.
        CHttpClient client(m_endpoint.m_strAddress, m_endpoint.m_nPort, m_endpoint.m_strUser,
                           m_endpoint.m_strPassword);
        std::string strAnswer;
        if (!client.Get(MakeLogPagePath(nPage).c_str(), strAnswer, m_fnWaitSeconds()))
        {
            outcome.m_code = LogReadOutcome::kNoConnection;
            return outcome;
        }
        CSimpleHttpParser parser(strAnswer.c_str());
        outcome.m_nStatusCode = parser.GetStatusCode();
        std::string strBody = parser.GetBody();
        if (outcome.m_nStatusCode != 200 || strBody.empty())
        {
            outcome.m_code = LogReadOutcome::kBadAnswer;
            return outcome;
        }
        CXmlCfg doc;
        if (!doc.LoadFromText(strBody, &indexed))
        {
            outcome.m_code = LogReadOutcome::kUnloadable;
            return outcome;
        }
        if (bFirstPage)
        {
            std::string strTotal = doc.GetValue(kTotalPagePath);
            nPageCount = strTotal.empty() ? 0 : platform::CrtAtol(strTotal.c_str());
            bFirstPage = false;
        }
        ++outcome.m_nPagesRead;
        if (!fnPage(doc, nPage))
        {
            outcome.m_code = LogReadOutcome::kStopped;
            return outcome;
        }
        // Written so that a page count of INT_MAX cannot overflow the page number.
        if (nPage >= nPageCount)
        {
            outcome.m_code = LogReadOutcome::kComplete;
            return outcome;
        }
    }
}
