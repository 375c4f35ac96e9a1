// Subscription keys, delivery order and changes made by a handler while it is called.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/MessagePublisher.h"

namespace
{

struct CLog
{
    std::vector<std::string> arrCalls; // "<user data>:<message>:<p1>,<p2>,<p3>"
};

void Record(MessageInfo* pInfo)
{
    static_cast<CLog*>(pInfo->pOwner)
        ->arrCalls.push_back(std::string(static_cast<const char*>(pInfo->pUserData)) + ":" +
                             pInfo->strMsg + ":" + std::to_string(pInfo->nParam1) + "," +
                             std::to_string(pInfo->nParam2) + "," + std::to_string(pInfo->nParam3));
}

void RecordToo(MessageInfo* pInfo)
{
    Record(pInfo);
}

TEST(MessagePublisher, HandlersRunInKeyOrderWithTheirOwnValues)
{
    IMessagePublisher publisher;
    CLog log;
    publisher.Subscribe("b", &Record, &log, const_cast<char*>("b"));
    publisher.Subscribe("a", &Record, &log, const_cast<char*>("a"));
    publisher.Subscribe(&RecordToo, &log, const_cast<char*>("none")); // "NONE_..." < "a"
    publisher.Publish("MSG_X", 1, 2);
    publisher.Publish("MSG_Y", 4, 5, 6);
    EXPECT_EQ(log.arrCalls,
              (std::vector<std::string>{"none:MSG_X:1,2,0", "a:MSG_X:1,2,0", "b:MSG_X:1,2,0",
                                        "none:MSG_Y:4,5,6", "a:MSG_Y:4,5,6", "b:MSG_Y:4,5,6"}));

    // Same key again replaces the entry; removing by handler uses the handler's key.
    log.arrCalls.clear();
    publisher.Subscribe("a", &Record, &log, const_cast<char*>("a2"));
    publisher.Unsubscribe(&RecordToo);
    publisher.Unsubscribe("missing");
    publisher.Publish("MSG_Z", 0, 0);
    EXPECT_EQ(log.arrCalls, (std::vector<std::string>{"a2:MSG_Z:0,0,0", "b:MSG_Z:0,0,0"}));

    log.arrCalls.clear();
    publisher.UnsubscribeAll();
    publisher.Publish("MSG_Z", 0, 0);
    EXPECT_TRUE(log.arrCalls.empty());
}

TEST(MessagePublisher, HandlerKeyIsNonePlusLowerCaseHexOfTheAddress)
{
    const std::string strKey = IMessagePublisher::MakeHandlerKey(&Record);
    ASSERT_EQ(strKey.rfind("NONE_", 0), 0u);
    const std::string strHex = strKey.substr(5);
    ASSERT_FALSE(strHex.empty());
    EXPECT_LE(strHex.size(), 8u); // the low 32 bits only
    EXPECT_EQ(strHex.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_EQ(std::stoull(strHex, nullptr, 16),
              reinterpret_cast<std::uintptr_t>(&Record) & 0xFFFFFFFFu);
    EXPECT_NE(strKey, IMessagePublisher::MakeHandlerKey(&RecordToo));

    // The key form is what the handler overloads use.
    IMessagePublisher publisher;
    CLog log;
    publisher.Subscribe(&Record, &log, const_cast<char*>("h"));
    publisher.Unsubscribe(strKey);
    publisher.Publish("MSG", 0, 0);
    EXPECT_TRUE(log.arrCalls.empty());
}

// A handler that unsubscribes itself and subscribes another one while it is being called:
// no deadlock, and the change applies from the next publication.
struct CSelfChanging
{
    IMessagePublisher* pPublisher = nullptr;
    CLog log;
};

void Later(MessageInfo* pInfo)
{
    static_cast<CSelfChanging*>(pInfo->pOwner)->log.arrCalls.push_back("later:" + pInfo->strMsg);
}

void Once(MessageInfo* pInfo)
{
    auto* pSelf = static_cast<CSelfChanging*>(pInfo->pOwner);
    pSelf->log.arrCalls.push_back("once:" + pInfo->strMsg);
    pSelf->pPublisher->Unsubscribe("1-once");
    pSelf->pPublisher->Subscribe("2-later", &Later, pSelf, nullptr);
}

TEST(MessagePublisher, HandlersMayChangeSubscriptionsWhileCalled)
{
    IMessagePublisher publisher;
    CSelfChanging self;
    self.pPublisher = &publisher;
    publisher.Subscribe("1-once", &Once, &self, nullptr);
    publisher.Publish("FIRST", 0, 0);
    publisher.Publish("SECOND", 0, 0);
    EXPECT_EQ(self.log.arrCalls, (std::vector<std::string>{"once:FIRST", "later:SECOND"}));
}

} // namespace
