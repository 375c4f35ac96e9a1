#include "cli/CliUserInterface.h"

#include <ostream>

#include "platform/Codepage.h"

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
