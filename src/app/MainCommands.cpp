#include "app/MainCommands.h"

#include <limits>

#include "app/Texts.h"
#include "platform/Codepage.h"
#include "web/HttpClient.h"
#include "web/SimpleHttpParser.h"
#include "web/TcpConnect.h"
#include "xml/StrList.h"
#include "xml/XmlCfg.h"

int WaitSecondsToMilliseconds(std::int32_t nSeconds)
{
    std::int64_t ms = static_cast<std::int64_t>(nSeconds) * 1000;
    if (ms > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (ms < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(ms);
}

CMainCommands::CMainCommands(CLocalAppSettings& settings, const IConnectionFields& fields,
                             IUserInterface& ui)
    : m_settings(settings), m_fields(fields), m_ui(ui)
{
}

void CMainCommands::StoreConnectionSettings()
{
    ConnectionInfo info = GetConnectionInfo(m_fields);
    m_settings.SetVornAddress(info.m_strAddress);
    m_settings.SetLong(0, settingkeys::kVornPort, info.m_nPort);
    m_settings.SetVornUser(info.m_strUser);
    m_settings.SetVornPassword(info.m_strPassword);
}

int CMainCommands::GetWaitSeconds()
{
    return m_settings.GetLong(0, settingkeys::kTcpWaitSeconds, settingkeys::kDefaultWaitSeconds);
}

int CMainCommands::GetWaitMilliseconds()
{
    return WaitSecondsToMilliseconds(GetWaitSeconds());
}

namespace
{

// The port goes out as its low 16 bits: 70000 is stored as typed and used as 4464.
std::uint16_t LowPortBits(std::int32_t nPort)
{
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(nPort) & 0xFFFFu);
}

// "caption - address", the title of a result window.
std::string WindowTitle(const std::string& strCaption, const std::string& strAddress)
{
    return strCaption + " - " + strAddress;
}

// The key of a log entry: its date and the hour of its time ("2024-01-05 13").
std::string MakeErrorKey(const std::string& strDate, const std::string& strTime)
{
    CStrList pieces;
    pieces.Split(strTime, ":");
    return strDate + " " + pieces.GetAt(0);
}

} // namespace

RecorderEndpoint CMainCommands::MakeEndpoint(const ConnectionInfo& info)
{
    RecorderEndpoint endpoint;
    endpoint.m_strAddress = info.m_strAddress;
    endpoint.m_nPort = LowPortBits(info.m_nPort);
    endpoint.m_strUser = info.m_strUser;
    endpoint.m_strPassword = info.m_strPassword;
    return endpoint;
}

bool CMainCommands::ReportLogFailure(const LogReadOutcome& outcome, const std::string& strCaption)
{
    switch (outcome.m_code)
    {
    case LogReadOutcome::kNoConnection:
        m_ui.ShowMessage(FormatText(TextId::kConnectionFailedPage, outcome.m_nPage), strCaption,
                         MessageIcon::kError);
        return false;
    case LogReadOutcome::kBadAnswer:
    case LogReadOutcome::kUnloadable:
        // An unloadable body is a failed page too (its status, 200, is shown): the log was
        // not read, and what came before must not pass for all of it.
        m_ui.ShowMessage(
            FormatText(TextId::kInformationFailedPage, outcome.m_nPage, outcome.m_nStatusCode),
            strCaption, MessageIcon::kError);
        return false;
    default:
        return true;
    }
}

bool CMainCommands::OnBnClickedSystemInformation(const char* pszPath, int nAuthMode, bool bTls)
{
    ConnectionInfo info = GetConnectionInfo(m_fields);
    const std::string& strCaption = GetText(TextId::kSystemInformationCaption);
    CHttpClient client(info.m_strAddress, LowPortBits(info.m_nPort), info.m_strUser,
                       info.m_strPassword, nAuthMode, bTls);
    std::string strAnswer;
    if (!client.Get(pszPath, strAnswer, GetWaitSeconds()))
    {
        m_ui.ShowMessage(GetText(TextId::kConnectionFailed), strCaption, MessageIcon::kError);
        return false;
    }
    CSimpleHttpParser parser(strAnswer.c_str());
    std::string strBody = parser.GetBody();
    if (parser.GetStatusCode() != 200 || strBody.empty())
    {
        m_ui.ShowMessage(FormatText(TextId::kInformationFailed, parser.GetStatusCode()), strCaption,
                         MessageIcon::kError);
        return false;
    }
    m_ui.ShowText(WindowTitle(strCaption, info.m_strAddress), strBody);
    StoreConnectionSettings();
    return true;
}

CMainCommands::RecordingErrorsOutcome CMainCommands::OnBnClickedRecordingErrors()
{
    ConnectionInfo info = GetConnectionInfo(m_fields);
    const std::string& strCaption = GetText(TextId::kRecordingErrorsCaption);
    RecordingErrorsOutcome result;
    std::string strLastKey;
    CRecorderLogReader reader(MakeEndpoint(info), [this]() { return GetWaitSeconds(); });
    LogReadOutcome outcome = reader.Read(
        [&](const CXmlCfg& doc, int)
        {
            int nItems = CountLogItems(doc);
            for (int n = 1; n <= nItems; ++n)
            {
                std::string strKey =
                    MakeErrorKey(GetLogItemField(doc, n, "Date"), GetLogItemField(doc, n, "Time"));
                // Only the last key listed counts as a repeat: an hour that comes back after
                // another one is listed again.
                if (strKey == strLastKey)
                    continue;
                if (GetLogItemField(doc, n, "Content").find("Record Block") != std::string::npos)
                {
                    strLastKey = strKey;
                    if (!result.m_strResult.empty())
                        result.m_strResult += "\r\n";
                    result.m_strResult += strKey;
                }
            }
            return true;
        });

    result.m_bLogReadCompletely = ReportLogFailure(outcome, strCaption);
    result.m_bErrorsFound = !result.m_strResult.empty();
    if (result.m_bErrorsFound)
        m_ui.ShowText(WindowTitle(strCaption, info.m_strAddress), result.m_strResult);
    else if (result.m_bLogReadCompletely)
        // "No error" only when the whole log was read: after a failure it would tell the
        // user that a recorder nobody could read is fine.
        m_ui.ShowMessage(GetText(TextId::kNoErrorFound), strCaption, MessageIcon::kInformation);
    StoreConnectionSettings();
    return result;
}

bool CMainCommands::OnBnClickedConnectionTest()
{
    StoreConnectionSettings();
    ConnectionInfo info = GetConnectionInfo(m_fields);
    int nWaitMs = GetWaitMilliseconds();
    bool bConnected = ProbeTcpPort(info.m_strAddress.c_str(), LowPortBits(info.m_nPort), nWaitMs);
    if (bConnected)
        m_ui.ShowMessage(GetText(TextId::kConnectionSucceeded),
                         GetText(TextId::kConnectionTestCaption), MessageIcon::kInformation);
    else
        m_ui.ShowMessage(GetText(TextId::kConnectionFailed),
                         GetText(TextId::kConnectionTestCaption), MessageIcon::kError);
    return bConnected;
}
