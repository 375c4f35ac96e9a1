// Named notifications ("MSG_...") published to subscribed handler functions, which are called
// outside the lock so a handler may subscribe or unsubscribe while it runs.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

struct MessageInfo
{
    std::string strMsg;
    std::intptr_t nParam1 = 0;
    std::intptr_t nParam2 = 0;
    std::intptr_t nParam3 = 0;
    void* pOwner = nullptr;    // given at subscription
    void* pUserData = nullptr; // given at subscription
};

using MessageHandler = void (*)(MessageInfo* pInfo);

// The operations keep this slot order.
class IMessagePublisher
{
public:
    IMessagePublisher() = default;
    virtual ~IMessagePublisher() = default;
    IMessagePublisher(const IMessagePublisher&) = delete;
    IMessagePublisher& operator=(const IMessagePublisher&) = delete;

    // Sets the entry of the key, replacing one that exists.
    virtual void Subscribe(const std::string& strKey, MessageHandler pHandler, void* pOwner,
                           void* pUserData);
    // Subscribes under the key MakeHandlerKey(pHandler).
    virtual void Subscribe(MessageHandler pHandler, void* pOwner, void* pUserData);
    virtual void Unsubscribe(const std::string& strKey);
    virtual void Unsubscribe(MessageHandler pHandler);
    virtual void UnsubscribeAll();
    virtual void Publish(const std::string& strMsg, std::intptr_t nParam1, std::intptr_t nParam2);
    // Calls every handler, in ascending key order, with a copy of the map taken under the
    // lock: a change made by a handler applies from the next publication.
    virtual void Publish(const std::string& strMsg, std::intptr_t nParam1, std::intptr_t nParam2,
                         std::intptr_t nParam3);

    // "NONE_%x" of the low 32 bits of the handler's address.
    static std::string MakeHandlerKey(MessageHandler pHandler);

private:
    struct HandlerEntry
    {
        MessageHandler pHandler = nullptr;
        void* pOwner = nullptr;
        void* pUserData = nullptr;
    };

    std::map<std::string, HandlerEntry> m_mapHandlers;
    std::mutex m_csHandlers;
};
