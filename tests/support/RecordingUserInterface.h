// A user-interface port that records what the commands tell the user.
#pragma once

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

    std::vector<RecordedMessage> m_messages;
};
