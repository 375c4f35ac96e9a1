// The main dialog's system log command.
#include "app/LogRecord.h"
#include "app/MainCommands.h"
#include "app/Texts.h"
#include "web/RecorderPages.h"

bool CMainCommands::OnBnClickedSystemLog()
{
    ConnectionInfo info = GetConnectionInfo(m_fields);
    const std::string& strCaption = GetText(TextId::kSystemLogCaption);
    LogRecordMap records;
    CRecorderLogReader reader(MakeEndpoint(info), [this]() { return GetWaitSeconds(); });
    LogReadOutcome outcome = reader.Read(
        [&](const CXmlCfg& doc, int)
        {
            int nItems = CountLogItems(doc);
            for (int n = 1; n <= nItems; ++n)
                AddLogRecord(records, ReadLogRecord(doc, n));
            return true;
        });

    bool bComplete = ReportLogFailure(outcome, strCaption);
    // What was read before a failure is still shown, also when it is nothing.
    m_ui.ShowLogViewer(strCaption + " - " + info.m_strAddress, records);
    StoreConnectionSettings();
    return bComplete;
}
