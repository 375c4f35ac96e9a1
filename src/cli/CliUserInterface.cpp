#include "cli/CliUserInterface.h"

#include <ostream>

#include "app/LogViewer.h"
#include "controls/ListCtrlEx.h"
#include "platform/Codepage.h"
#include "platform/File.h"

CCliUserInterface::CCliUserInterface(std::ostream& out, std::ostream& err) : m_out(out), m_err(err)
{
}

void CCliUserInterface::ShowMessage(const std::string& strText, const std::string& strCaption,
                                    MessageIcon icon)
{
    // The caption names the command the user just ran; the text alone is the answer.
    (void)strCaption;
    std::ostream& os = icon == MessageIcon::kError ? m_err : m_out;
    os << platform::Cp949ToUtf8(strText) << '\n';
}

void CCliUserInterface::ShowText(const std::string& strTitle, const std::string& strText)
{
    (void)strTitle;
    if (m_bRaw)
    {
        m_out << strText;
        return;
    }
    std::string text = platform::Cp949ToUtf8(strText);
    if (m_bTerminalLineEnds)
    {
        std::string lf;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
                lf += text[i];
        text.swap(lf);
    }
    m_out << text;
    if (!text.empty() && text.back() != '\n')
        m_out << '\n';
}

void CCliUserInterface::ShowLogViewer(const std::string& strTitle, const LogRecordMap& records)
{
    (void)strTitle;
    CListCtrlEx list;
    FillLogList(list, records);
    std::string strCsv = list.GetCsvText();
    if (m_bLogUtf8)
        strCsv = platform::Cp949ToUtf8(strCsv);
    if (m_strLogPath.empty())
    {
        m_out << strCsv;
        m_out.flush();
        m_bLogWriteFailed = !m_out;
    }
    else
        m_bLogWriteFailed = !platform::ReplaceFileAtomically(m_strLogPath, strCsv);
}
