// The terminal side of the user-interface port: messages as UTF-8 lines, errors on stderr.
#pragma once

#include <iosfwd>
#include <string>

#include "app/UserInterface.h"

class CCliUserInterface : public IUserInterface
{
public:
    CCliUserInterface(std::ostream& out, std::ostream& err);
    void ShowMessage(const std::string& strText, const std::string& strCaption,
                     MessageIcon icon) override;
    // The window's text on stdout: UTF-8 (or the bytes as they are when raw), ending with
    // a line feed; with line ends for the terminal, CR LF becomes LF.
    void ShowText(const std::string& strTitle, const std::string& strText) override;

    // The viewer's list as its CSV export would write it: to the file set by SetLogOutput
    // (written whole, atomically) or else to stdout; code page 949 unless UTF-8 was asked.
    void ShowLogViewer(const std::string& strTitle, const LogRecordMap& records) override;

    void SetRawText(bool bRaw) { m_bRaw = bRaw; }
    void SetTerminalLineEnds(bool bLf) { m_bTerminalLineEnds = bLf; }
    // An empty path writes to stdout.
    void SetLogOutput(const std::string& strPath, bool bUtf8)
    {
        m_strLogPath = strPath;
        m_bLogUtf8 = bUtf8;
    }
    // True when ShowLogViewer could not write its file (or stdout).
    bool LogWriteFailed() const { return m_bLogWriteFailed; }

private:
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_bRaw = false;
    bool m_bTerminalLineEnds = false;
    std::string m_strLogPath;
    bool m_bLogUtf8 = false;
    bool m_bLogWriteFailed = false;
};
