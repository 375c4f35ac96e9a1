// The one way the commands talk to the user. The desktop program and the command line
// each implement it; tests use a recording fake.
#pragma once

#include <string>

#include "app/LogRecord.h"

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
    // A modal window with a caption and one text (the information window).
    virtual void ShowText(const std::string& strTitle, const std::string& strText) = 0;
    // The modal log viewer: the records in a sortable list that can be saved as CSV.
    virtual void ShowLogViewer(const std::string& strTitle, const LogRecordMap& records) = 0;
};
