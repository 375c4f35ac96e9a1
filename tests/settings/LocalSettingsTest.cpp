#include <gtest/gtest.h>

#include <cmath>

#include "settings/LocalAppSettings.h"

TEST(LocalSettings, TypedGettersConvertLikeTheCRuntime)
{
    CLocalSettings store;
    struct Case
    {
        const char* stored;
        std::int32_t asLong;
        std::uint32_t asUInt;
        double asDouble;
    } cases[] = {
        {"8080", 8080, 8080u, 8080.0},
        {"abc", 0, 0u, 0.0},
        {"99999999999", 2147483647, static_cast<std::uint32_t>(99999999999LL), 99999999999.0},
        {"-1", -1, 4294967295u, -1.0},
        {" 12.75kg", 12, 12u, 12.75},
        {"-99999999999", -2147483647 - 1, static_cast<std::uint32_t>(-99999999999LL),
         -99999999999.0},
        {"4294967296", 2147483647, 0u, 4294967296.0},
    };
    for (const Case& c : cases)
    {
        store.SetString(0, "v", c.stored);
        EXPECT_EQ(store.GetLong(0, "v", 5), c.asLong) << c.stored;
        EXPECT_EQ(store.GetInt(0, "v", 5), c.asLong) << c.stored;
        EXPECT_EQ(store.GetUInt(0, "v", 5), c.asUInt) << c.stored;
        EXPECT_DOUBLE_EQ(store.GetDouble(0, "v", 5.0), c.asDouble) << c.stored;
        EXPECT_FLOAT_EQ(store.GetFloat(0, "v", 5.0f), static_cast<float>(c.asDouble)) << c.stored;
    }
}

TEST(LocalSettings, SettersStoreTheFormattedText)
{
    CLocalSettings store;
    store.SetUInt(0, "u", 4294967295u);
    store.SetDouble(0, "d", 0.1);
    store.SetFloat(0, "f", 1.0f / 3.0f);
    store.SetLong(0, "l", -2147483647 - 1);
    store.SetInt(3, "i", 42);
    EXPECT_EQ(store.GetString(0, "u", ""), "4294967295");
    EXPECT_EQ(store.GetString(0, "d", ""), "0.100000000000000006");
    EXPECT_EQ(store.GetString(0, "f", ""), "0.333333");
    EXPECT_EQ(store.GetString(0, "l", ""), "-2147483648");
    EXPECT_EQ(store.GetString(3, "i", ""), "42");
    EXPECT_EQ(store.GetString(0, "i", "none"), "none"); // categories are separate
}

TEST(LocalSettings, MissingOrEmptyGivesDefaultAndLookupNeverInserts)
{
    CLocalSettings store;
    EXPECT_EQ(store.GetLong(0, "TcpWaitSeconds", 5), 5);
    EXPECT_EQ(store.GetString(7, "x", "dflt"), "dflt");
    EXPECT_TRUE(store.GetAll().empty());
    store.SetString(0, "e", "");
    EXPECT_EQ(store.GetLong(0, "e", 9), 9);
    EXPECT_EQ(store.GetString(0, "e", "d"), "d");
    EXPECT_DOUBLE_EQ(store.GetDouble(0, "e", 2.5), 2.5);
}

TEST(LocalSettings, NamesAreCaseSensitiveAndOrderedByBytes)
{
    CLocalSettings store;
    store.SetLong(0, "VornPort", 1);
    store.SetLong(0, "vornport", 2);
    store.SetString(0, "\xB0\xA1", "k"); // a double-byte name sorts after ASCII
    EXPECT_EQ(store.GetLong(0, "VornPort", 0), 1);
    EXPECT_EQ(store.GetLong(0, "vornport", 0), 2);
    std::vector<std::string> names;
    CLocalSettings::CategoryMap all = store.GetAll();
    for (const auto& entry : all[0])
        names.push_back(entry.first);
    EXPECT_EQ(names, (std::vector<std::string>{"VornPort", "vornport", "\xB0\xA1"}));
}

TEST(LocalSettings, SetterWithoutFileKeepsValueAndReportsFalse)
{
    CLocalAppSettings store;
    EXPECT_FALSE(store.SetVornAddress("10.1.2.3"));
    EXPECT_EQ(store.GetVornAddress(), "10.1.2.3");
}

TEST(LocalAppSettings, NamedAccessorsAndDefaults)
{
    CLocalAppSettings store;
    EXPECT_EQ(store.GetVornAddress(), "127.0.0.1");
    EXPECT_EQ(store.GetVornUser(), "admin");
    EXPECT_EQ(store.GetVornPassword(), "!wbnqzmtpxv38");
    store.SetVornUser("operator");
    store.SetVornPassword("");
    EXPECT_EQ(store.GetString(0, "VornUser", ""), "operator");
    EXPECT_EQ(store.GetVornPassword(), "!wbnqzmtpxv38"); // an empty value reads as default
}
