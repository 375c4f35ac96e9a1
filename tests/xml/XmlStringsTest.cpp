#include <gtest/gtest.h>

#include "xml/StrList.h"
#include "xml/TokenList.h"
#include "xml/XmlPath.h"

namespace
{

TEST(XmlPath, BuildersFollowThePathLanguage)
{
    EXPECT_EQ(MakePathStep("Log"), "$Log$");
    EXPECT_EQ(MakeIndexedPathStep("LogItem", 3), "$LogItem%3$");
    EXPECT_EQ(MakeIndexedPathStep("LogItem", 0), "$LogItem$");
    EXPECT_EQ(MakeIndexedPathStep("LogItem", -2), "$LogItem$");
    EXPECT_EQ(JoinPath("$A$", "$B%2$"), "$A$$B%2$");
    EXPECT_EQ(JoinPath("$A$", "B"), "$A$$B$");
    EXPECT_EQ(JoinPath(JoinPath("$System$$Log$", MakeIndexedPathStep("LogItem", 3)), "Date"),
              "$System$$Log$$LogItem%3$$Date$");
    EXPECT_EQ(IntToString(-42), "-42");
}

TEST(StrList, SplitDropsEmptyPiecesAndGetAtIsBounded)
{
    struct Case
    {
        const char* text;
        const char* separator;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {"a,,b,", ",", {"a", "b"}},
        {",a", ",", {"a"}},
        {"", ",", {}},
        {"2026-01-02", "-", {"2026", "01", "02"}},
        {"a::b:c", "::", {"a", "b:c"}},
        {"id=1&password=x", "&", {"id=1", "password=x"}},
    };
    for (const Case& c : cases)
    {
        CStrList list;
        list.Add("stale");
        EXPECT_EQ(list.Split(c.text, c.separator), static_cast<int>(c.pieces.size())) << c.text;
        EXPECT_EQ(list.m_array, c.pieces) << c.text;
    }
    CStrList list;
    list.Split("x y", " ");
    EXPECT_EQ(list.GetAt(1), "y");
    EXPECT_EQ(list.GetAt(2), "");
    EXPECT_EQ(list.GetAt(-1), "");
}

TEST(TokenList, BuiltFromSplitTextWithASeparatorSet)
{
    CStrList list;
    for (const char* p : {"id=admin", "id", "a=b=c", "a==b", "=x", "", "==="})
        list.Add(p);
    CTokenList tokens(list, "=");
    std::vector<std::pair<std::string, std::string>> got;
    for (const CToken& t : tokens.m_list)
        got.emplace_back(t.m_strName, t.m_strData);
    std::vector<std::pair<std::string, std::string>> expected = {
        {"id", "admin"}, {"id", ""}, {"a", "b"}, {"a", "b"}, {"x", ""}, {"", ""}, {"", ""}};
    EXPECT_EQ(got, expected);
    std::string data;
    ASSERT_TRUE(tokens.Lookup("id", data));
    EXPECT_EQ(data, ""); // the last token of a name wins in the map
    EXPECT_FALSE(tokens.Lookup("ID", data));
    EXPECT_TRUE(tokens.RemoveAll());
    EXPECT_EQ(tokens.GetCount(), 0u);
    EXPECT_FALSE(tokens.Lookup("id", data));
}

} // namespace
