// CSimpleHttpParser: line cutting, the three states and the header rules.
#include <gtest/gtest.h>

#include "web/SimpleHttpParser.h"

namespace
{

struct ParseCase
{
    const char* pszName;
    const char* pszMessage;
    int nStatus;
    const char* pszBody;
};

TEST(SimpleHttpParserTest, StatusAndBody)
{
    const ParseCase cases[] = {
        {"empty", "", 0, ""},
        {"ok with crlf", "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\n\r\n<a>\r\n<b/>\r\n", 200,
         "<a>\r\n<b/>\r\n"},
        {"not found", "HTTP/1.1 404 Not Found\r\n\r\n", 404, ""},
        {"two-piece line skipped", "HTTP/1.1 200\r\nHTTP/1.1 302 Found\r\n\r\nx", 302, "x\n"},
        // Consecutive "\n" vanish, so there is no blank line and everything is header.
        {"bare newlines", "HTTP/1.1 200 OK\nA: b\n\n<a/>\n", 200, ""},
        // Blank body lines made of "\n" vanish; the last line gets "\n".
        {"body blank lines", "HTTP/1.1 200 OK\r\n\r\nl1\n\nl2", 200, "l1\nl2\n"},
        {"status without digits", "HTTP/1.1 OK fine\r\n\r\n", 0, ""},
        {"leading digits only", "HTTP/1.1 201x Created\r\n\r\n", 201, ""},
        {"only a status line", "HTTP/1.1 500 Internal Server Error", 500, ""},
    };
    for (const ParseCase& c : cases)
    {
        CSimpleHttpParser parser(c.pszMessage);
        EXPECT_EQ(c.nStatus, parser.GetStatusCode()) << c.pszName;
        EXPECT_EQ(c.pszBody, parser.GetBody()) << c.pszName;
        EXPECT_EQ(CSimpleHttpParser::kAnswer, parser.GetMessageKind()) << c.pszName;
    }
}

TEST(SimpleHttpParserTest, HeaderRules)
{
    CSimpleHttpParser parser("HTTP/1.1 200 OK\r\n"
                             "content-TYPE:  text/xml ; charset=x  \r\n"
                             "Content-Length: 12abc\r\n"
                             "X-Forwarded-For: 10.0.0.1, 10.0.0.2,,\r\n"
                             "Authorization: Basic a:b\r\n"
                             "NoColonHere\r\n"
                             "\r\n");
    EXPECT_EQ("text/xml ; charset=x", parser.GetContentType());
    EXPECT_EQ(12, parser.GetContentLength());
    // A value holding a colon keeps only the text before it.
    EXPECT_EQ("Basic a", parser.GetAuthorization());
    ASSERT_EQ(2u, parser.GetForwardedFor().size());
    EXPECT_EQ("10.0.0.1", parser.GetForwardedFor()[0]);
    EXPECT_EQ(" 10.0.0.2", parser.GetForwardedFor()[1]);

    // The name is compared as split: a blank before the colon is part of it.
    CSimpleHttpParser spaced("HTTP/1.1 200 OK\r\nContent-Length : 5\r\n\r\n");
    EXPECT_EQ(0, spaced.GetContentLength());
}

TEST(SimpleHttpParserTest, Requests)
{
    CSimpleHttpParser get("  get /a b/c HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_EQ(CSimpleHttpParser::kGetRequest, get.GetMessageKind());
    EXPECT_EQ("/a b/c", get.GetRequestTarget());
    EXPECT_EQ(0, get.GetStatusCode());

    CSimpleHttpParser post("POST /form HTTP/1.0\r\n\r\nk=v");
    EXPECT_EQ(CSimpleHttpParser::kPostRequest, post.GetMessageKind());
    EXPECT_EQ("/form", post.GetRequestTarget());
    EXPECT_EQ("k=v\n", post.GetBody());
}

TEST(SimpleHttpParserTest, ParseResetsEarlierResult)
{
    CSimpleHttpParser parser("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabc");
    parser.Parse("");
    EXPECT_EQ(0, parser.GetStatusCode());
    EXPECT_EQ("", parser.GetBody());
    EXPECT_EQ(0, parser.GetContentLength());
}

} // namespace
