// The connection read buffer: peeks leave bytes unread, and consumed space is reclaimed by
// moving the rest to the front once the position reaches half the buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "web/MyHttp.h"
#include "web/ReadBuffer.h"

namespace
{

void Receive(CReadBuffer& buffer, const std::string& strBytes)
{
    char* pFill = buffer.FillPointer();
    ASSERT_GE(buffer.SpaceLeft(), static_cast<int>(strBytes.size()));
    std::memcpy(pFill, strBytes.data(), strBytes.size());
    buffer.Added(static_cast<int>(strBytes.size()), 0);
}

TEST(ReadBufferTest, CompactsAtHalfAndKeepsOrder)
{
    CReadBuffer buffer;
    ASSERT_TRUE(buffer.Allocate());
    std::string first(CReadBuffer::kCompactAt, 'a'), second(CReadBuffer::kCompactAt - 10, 'b');
    Receive(buffer, first);
    Receive(buffer, second + "0123456789");
    EXPECT_EQ(0, buffer.SpaceLeft());

    char out[CReadBuffer::kSize];
    ASSERT_EQ(100, buffer.Take(out, 100, true));
    EXPECT_EQ(CReadBuffer::kSize, buffer.Unread()) << "a peek consumes nothing";
    ASSERT_EQ(CReadBuffer::kCompactAt - 1, buffer.Take(out, CReadBuffer::kCompactAt - 1, false));
    EXPECT_EQ(0, buffer.SpaceLeft()) << "below half: no move yet";
    ASSERT_EQ(1, buffer.Take(out, 1, false));
    EXPECT_EQ(CReadBuffer::kCompactAt, buffer.SpaceLeft())
        << "at half: the rest moved to the front";
    ASSERT_EQ(CReadBuffer::kCompactAt, buffer.Take(out, CReadBuffer::kSize, false));
    EXPECT_EQ(second + "0123456789", std::string(out, CReadBuffer::kCompactAt));
    EXPECT_EQ(0, buffer.Unread());
    EXPECT_EQ(CReadBuffer::kSize, buffer.SpaceLeft()) << "emptied: position and fill reset";
}

TEST(ReadBufferTest, FillPointerMakesRoomForOneFullRead)
{
    CReadBuffer buffer;
    ASSERT_TRUE(buffer.Allocate());
    Receive(buffer, std::string(30000, 'x'));
    char out[CReadBuffer::kSize];
    ASSERT_EQ(16000, buffer.Take(out, 16000, false));
    EXPECT_EQ(CReadBuffer::kSize - 30000, buffer.SpaceLeft()) << "below half: no move yet";
    // Less than one TLS record of room behind the 14000 unread bytes: the next receive moves
    // them to the front first.
    buffer.FillPointer();
    EXPECT_EQ(CReadBuffer::kSize - 14000, buffer.SpaceLeft());
    EXPECT_EQ(14000, buffer.Unread());
}

TEST(MyHttpTest, UnconnectedObjectRefusesAndClosesHarmlessly)
{
    CMyHttp http;
    EXPECT_FALSE(http.IsConnected());
    EXPECT_EQ(-1, http.Send("x", 1));
    std::string answer = "untouched";
    EXPECT_FALSE(http.Get("/", answer, 1));
    EXPECT_EQ("untouched", answer);
    EXPECT_FALSE(http.GetDigest("/", "u", "p", answer, 1));
    EXPECT_FALSE(http.Connect("127.0.0.1", 0, 1, false));
    EXPECT_EQ("127.0.0.1", http.GetHost());
    http.Close();
    http.Close();
    EXPECT_FALSE(http.IsConnected());
}

} // namespace
