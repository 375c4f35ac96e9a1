// The main dialog's commands as operations: they read the four fields, do their work and
// tell the user only through the user-interface port.
#pragma once

#include <cstdint>

#include "app/ConnectionInfo.h"
#include "app/UserInterface.h"
#include "settings/LocalAppSettings.h"
#include "web/HttpAuth.h"
#include "web/RecorderPages.h"

// "TcpWaitSeconds" in milliseconds, saturated to the 32-bit range so a huge setting
// cannot wrap around into a short or negative wait.
int WaitSecondsToMilliseconds(std::int32_t nSeconds);

class CMainCommands
{
public:
    CMainCommands(CLocalAppSettings& settings, const IConnectionFields& fields, IUserInterface& ui);

    // Writes the four fields into the settings (each setter rewrites the file).
    void StoreConnectionSettings();

    // The connection test: stores the fields first, then probes address:port within the
    // configured wait and says whether the connection opened. Returns that outcome.
    bool OnBnClickedConnectionTest();

    // The configured wait for every network step, in milliseconds.
    int GetWaitMilliseconds();

    // The system information view: fetches the recorder's information page and shows its
    // body in a text window; the fields are stored only after that window has closed.
    // The defaults are the desktop program's; the command line may ask another page or
    // authentication. Returns whether the page was shown.
    bool OnBnClickedSystemInformation(const char* pszPath = kInformationPagePath,
                                      int nAuthMode = HTTP_AUTH_QUERY, bool bTls = false);

    // What a recording-error check found, for callers that report beyond the window.
    struct RecordingErrorsOutcome
    {
        bool m_bLogReadCompletely = false;
        bool m_bErrorsFound = false;
        std::string m_strResult; // the date-and-hour lines joined by CR LF
    };
    // The recording-error check: every log page, one line per date and hour of a blocked
    // recording, shown in the text window; the fields are stored at the end, always.
    RecordingErrorsOutcome OnBnClickedRecordingErrors();

    // The system log viewer: every log page, the first entry per index, shown in the log
    // viewer after the page loop whatever ended it; the fields are stored once it has
    // closed. Returns whether the whole log was read.
    bool OnBnClickedSystemLog();

private:
    RecorderEndpoint MakeEndpoint(const ConnectionInfo& info);
    // Tells the user why a walk over the log pages stopped early; true when it did not.
    bool ReportLogFailure(const LogReadOutcome& outcome, const std::string& strCaption);
    int GetWaitSeconds();

    CLocalAppSettings& m_settings;
    const IConnectionFields& m_fields;
    IUserInterface& m_ui;
};
