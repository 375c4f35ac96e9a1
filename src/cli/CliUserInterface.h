// The terminal side of the user-interface port: messages as UTF-8 lines, errors on stderr.
#pragma once

#include <iosfwd>

#include "app/UserInterface.h"

class CCliUserInterface : public IUserInterface
{
public:
    CCliUserInterface(std::ostream& out, std::ostream& err);
    void ShowMessage(const std::string& strText, const std::string& strCaption,
                     MessageIcon icon) override;

private:
    std::ostream& m_out;
    std::ostream& m_err;
};
