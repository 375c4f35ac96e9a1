#include <gtest/gtest.h>

#include "platform/Codepage.h"

using namespace platform;

TEST(Codepage, KoreanRoundTripsThroughCp949)
{
    // "연결" in code page 949.
    const std::string cp949 = "\xBF\xAC\xB0\xE1";
    EXPECT_EQ(Utf8ToCp949("연결"), cp949);
    EXPECT_EQ(Cp949ToUtf8(cp949), "연결");
    EXPECT_EQ(Utf8ToCp949("abc 123"), "abc 123");
}

TEST(Codepage, InvalidBytesAreReplacedOnlyForDisplay)
{
    // A lone lead byte and a byte no code page 949 sequence starts with.
    EXPECT_EQ(Cp949ToUtf8("a\xFF"
                          "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(Cp949ToUtf8("x\xB0"), "x\xEF\xBF\xBD");
    // A character code page 949 cannot hold, and broken UTF-8.
    EXPECT_EQ(Utf8ToCp949("a\xF0\x9F\x98\x80z"), "a?z");
    EXPECT_EQ(Utf8ToCp949("a\xC3z"), "a?z");
}
