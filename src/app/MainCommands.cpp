#include "app/MainCommands.h"

#include <limits>

#include "app/Texts.h"
#include "web/TcpConnect.h"

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

int CMainCommands::GetWaitMilliseconds()
{
    return WaitSecondsToMilliseconds(
        m_settings.GetLong(0, settingkeys::kTcpWaitSeconds, settingkeys::kDefaultWaitSeconds));
}

bool CMainCommands::OnBnClickedConnectionTest()
{
    StoreConnectionSettings();
    ConnectionInfo info = GetConnectionInfo(m_fields);
    int nWaitMs = GetWaitMilliseconds();
    // The port goes out as its low 16 bits: 70000 is stored as typed and probed as 4464.
    auto nPort = static_cast<std::uint16_t>(static_cast<std::uint32_t>(info.m_nPort) & 0xFFFFu);
    bool bConnected = ProbeTcpPort(info.m_strAddress.c_str(), nPort, nWaitMs);
    if (bConnected)
        m_ui.ShowMessage(GetText(TextId::kConnectionSucceeded),
                         GetText(TextId::kConnectionTestCaption), MessageIcon::kInformation);
    else
        m_ui.ShowMessage(GetText(TextId::kConnectionFailed),
                         GetText(TextId::kConnectionTestCaption), MessageIcon::kError);
    return bConnected;
}
