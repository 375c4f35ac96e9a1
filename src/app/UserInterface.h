// The one way the commands talk to the user. The desktop program and the command line
// each implement it; tests use a recording fake.
#pragma once

#include <string>

// The icon kinds of a message box, with the values the Windows flags have.
enum class MessageIcon
{
    kError = 0x10,
    kInformation = 0x40,
};

class IUserInterface
{
public:
    virtual ~IUserInterface() = default;
    // A modal message with an OK button; texts are code page 949.
    virtual void ShowMessage(const std::string& strText, const std::string& strCaption,
                             MessageIcon icon) = 0;
};
