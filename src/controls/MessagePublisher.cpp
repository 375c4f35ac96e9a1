#include "controls/MessagePublisher.h"

#include <cstdio>

void IMessagePublisher::Subscribe(const std::string& strKey, MessageHandler pHandler, void* pOwner,
                                  void* pUserData)
{
    std::lock_guard<std::mutex> lock(m_csHandlers);
    m_mapHandlers[strKey] = HandlerEntry{pHandler, pOwner, pUserData};
}

void IMessagePublisher::Subscribe(MessageHandler pHandler, void* pOwner, void* pUserData)
{
    Subscribe(MakeHandlerKey(pHandler), pHandler, pOwner, pUserData);
}

void IMessagePublisher::Unsubscribe(const std::string& strKey)
{
    std::lock_guard<std::mutex> lock(m_csHandlers);
    m_mapHandlers.erase(strKey);
}

void IMessagePublisher::Unsubscribe(MessageHandler pHandler)
{
    Unsubscribe(MakeHandlerKey(pHandler));
}

void IMessagePublisher::UnsubscribeAll()
{
    std::lock_guard<std::mutex> lock(m_csHandlers);
    m_mapHandlers.clear();
}

void IMessagePublisher::Publish(const std::string& strMsg, std::intptr_t nParam1,
                                std::intptr_t nParam2)
{
    Publish(strMsg, nParam1, nParam2, 0);
}

void IMessagePublisher::Publish(const std::string& strMsg, std::intptr_t nParam1,
                                std::intptr_t nParam2, std::intptr_t nParam3)
{
    std::map<std::string, HandlerEntry> mapCopy;
    {
        std::lock_guard<std::mutex> lock(m_csHandlers);
        if (m_mapHandlers.empty())
            return;
        mapCopy = m_mapHandlers;
    }
    for (const auto& entry : mapCopy)
    {
        if (entry.second.pHandler == nullptr)
            continue;
        MessageInfo info;
        info.strMsg = strMsg;
        info.nParam1 = nParam1;
        info.nParam2 = nParam2;
        info.nParam3 = nParam3;
        info.pOwner = entry.second.pOwner;
        info.pUserData = entry.second.pUserData;
        entry.second.pHandler(&info);
    }
}

std::string IMessagePublisher::MakeHandlerKey(MessageHandler pHandler)
{
    auto nAddress = reinterpret_cast<std::uintptr_t>(pHandler);
    char szKey[32];
    std::snprintf(szKey, sizeof(szKey), "NONE_%x",
                  static_cast<unsigned int>(nAddress & 0xFFFFFFFFu));
    return szKey;
}
