// The main dialog's four fields as plain texts, and a command object over a settings store
// whose file lives in a temporary folder, for the command tests.
#pragma once

#include <cstdint>
#include <string>

#include "app/MainCommands.h"
#include "support/RecordingUserInterface.h"
#include "support/TempDir.h"

class CFakeFields : public IConnectionFields
{
public:
    std::string GetAddressText() const override { return m_address; }
    std::string GetPortText() const override { return m_port; }
    std::string GetUserText() const override { return m_user; }
    std::string GetPasswordText() const override { return m_password; }
    std::string m_address = "127.0.0.1", m_port, m_user, m_password;
};

struct CCommandRig
{
    explicit CCommandRig(std::uint16_t nPort)
    {
        fields.m_port = std::to_string(nPort);
        settings.Load(dir.File("AppSettings.xml"));
        settings.SetLong(0, "TcpWaitSeconds", 1); // keep silent-server cases short
    }
    // Whether the command has stored the fields (the port tells).
    bool Stored() { return settings.GetString(0, "VornPort", "") == fields.m_port; }

    CTempDir dir;
    CFakeFields fields;
    CLocalAppSettings settings;
    CRecordingUserInterface ui;
    CMainCommands commands{settings, fields, ui};
};
