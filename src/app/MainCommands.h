// The main dialog's commands as operations: they read the four fields, do their work and
// tell the user only through the user-interface port.
#pragma once

#include <cstdint>

#include "app/ConnectionInfo.h"
#include "app/UserInterface.h"
#include "settings/LocalAppSettings.h"

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

private:
    CLocalAppSettings& m_settings;
    const IConnectionFields& m_fields;
    IUserInterface& m_ui;
};
