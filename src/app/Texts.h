// The user interface's fixed texts, as code page 949 bytes.
#pragma once

#include <string>

enum class TextId
{
    kConnectionTestCaption,
    kConnectionSucceeded,
    kConnectionFailed,
    kAboutMenuItem,
    kAboutCaption,
    kAboutVersion,
    kAboutCopyright,
    kGroupConnection,
    kLabelAddress,
    kLabelPort,
    kLabelUser,
    kLabelPassword,
    kButtonConnectionTest,
    kButtonSystemInformation,
    kButtonRecordingErrors,
    kButtonSystemLog,
    kButtonLineCheck,
    kOk,
    kSystemInformationCaption,
    kInformationFailed, // "%d": the status code
    kRecordingErrorsCaption,
    kConnectionFailedPage,  // "%d": the page
    kInformationFailedPage, // "%d", "%d": the page and the status code
    kNoErrorFound,
    kSystemLogCaption,
    kLogColumnDate,
    kLogColumnTime,
    kLogColumnCategory,
    kLogColumnContent,
    kLogColumnComment,
    kButtonSave,
    kSaveFailed,
    kLineCheckTitle, // the line status dialog's caption
    kTrainFileUnreadable,
    kLineColumnSetNumber,
    kLineColumnDirection,
    kLineColumnAddress,
    kLineColumnPing,
    kLineColumnPort,
    kLineColumnRdpPort,
    kLineColumnErrors,
    kLineColumnCheckTime,
    kPingUnavailable,
    kCount // keep last
};

// The text in code page 949; the table is written in UTF-8 and converted once.
const std::string& GetText(TextId id);

// The text with its "%d" places filled in order, like printf with int arguments.
std::string FormatText(TextId id, int nFirst, int nSecond = 0);
