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
    kCount // keep last
};

// The text in code page 949; the table is written in UTF-8 and converted once.
const std::string& GetText(TextId id);
