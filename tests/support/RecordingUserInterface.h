// A user-interface port that records what the commands tell the user.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/UserInterface.h"

struct RecordedMessage
{
    std::string strText;
    std::string strCaption;
    MessageIcon icon;
};

class CRecordingUserInterface : public IUserInterface
{
public:
    void ShowMessage(const std::string& strText, const std::string& strCaption,
                     MessageIcon icon) override
    {
        m_messages.push_back({strText, strCaption, icon});
    }

    void ShowText(const std::string& strTitle, const std::string& strText) override
    {
        m_texts.push_back({strTitle, strText});
    }

    void ShowLogViewer(const std::string& strTitle, const LogRecordMap& records) override
    {
        m_logViewers.push_back({strTitle, records});
        if (m_fnOnLogViewer)
            m_fnOnLogViewer();
    }

    struct RecordedText
    {
        std::string strTitle;
        std::string strText;
    };
    struct RecordedLogViewer
    {
        std::string strTitle;
        LogRecordMap records;
    };
    std::vector<RecordedMessage> m_messages;
    std::vector<RecordedText> m_texts;
    std::vector<RecordedLogViewer> m_logViewers;
    // Called while the log viewer is "open", to look at what has happened by then.
    std::function<void()> m_fnOnLogViewer;
};
