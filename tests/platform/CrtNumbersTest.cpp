#include <gtest/gtest.h>

#include <clocale>

#include "platform/CrtNumbers.h"

using namespace platform;

TEST(CrtNumbers, AtolSaturatesAndStopsAtFirstNonDigit)
{
    struct Case
    {
        const char* text;
        std::int32_t expected;
    } cases[] = {
        {"8080", 8080},
        {"  \t-42xyz", -42},
        {"+7", 7},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"99999999999", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-99999999999999999999999", -2147483647 - 1},
        {"12 34", 12},
        {"0x10", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CrtAtol(c.text), c.expected) << '"' << c.text << '"';
}

TEST(CrtNumbers, Atoi64KeepsSixtyFourBits)
{
    EXPECT_EQ(CrtAtoi64("-1"), -1);
    EXPECT_EQ(CrtAtoi64("4294967295"), 4294967295LL);
    EXPECT_EQ(CrtAtoi64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(CrtAtoi64("9223372036854775808"), INT64_MAX);
    EXPECT_EQ(CrtAtoi64("-9223372036854775809"), INT64_MIN);
}

TEST(CrtNumbers, FormatsAsPrintfInTheCLocale)
{
    EXPECT_EQ(FormatG(0.1, 18), "0.100000000000000006");
    EXPECT_EQ(FormatG(static_cast<double>(1.0f / 3.0f), 6), "0.333333");
    EXPECT_EQ(FormatG(100000.0, 6), "100000");
    EXPECT_EQ(FormatG(1e6, 6), "1e+06");
    EXPECT_EQ(FormatG(-2.5, 6), "-2.5");
    EXPECT_EQ(FormatInt(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(FormatUInt(4294967295u), "4294967295");
}

TEST(CrtNumbers, AtofIgnoresTheProcessLocale)
{
    // A desktop toolkit may switch to the user's locale, where the decimal point is ",".
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    bool bSwitched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    EXPECT_DOUBLE_EQ(CrtAtof(" 1.5e2x"), 150.0);
    EXPECT_DOUBLE_EQ(CrtAtof("abc"), 0.0);
    EXPECT_DOUBLE_EQ(CrtAtof("-0.25"), -0.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!bSwitched)
        GTEST_LOG_(INFO) << "de_DE.UTF-8 is not installed; checked in the C locale only";
}
