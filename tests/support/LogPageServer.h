// A scripted server that answers recorder log pages by their number; a page without an
// answer gives 404. For the tests of the commands that page through a log.
#pragma once

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "support/LogPageBuilder.h"
#include "support/TestHttpServer.h"

class CLogPageServer
{
public:
    CLogPageServer()
    {
        server.Start();
        server.SetHandler(
            [this](const TestHttpRequest& request)
            {
                auto found = pages.find(PageOf(request.strTarget));
                return found == pages.end() ? TestHttpAnswer::Page(404, "no page") : found->second;
            });
    }

    // Page n as a log page with the given TotalPage text and items.
    void Page(int n, const std::string& strTotal, const std::vector<LogItemFields>& items)
    {
        pages[n] = TestHttpAnswer::Page(200, MakeLogPageXml(strTotal, items));
    }

    // The page numbers requested so far, in order.
    std::vector<int> RequestedPages() const
    {
        std::vector<int> result;
        for (const std::string& raw : server.Requests())
            result.push_back(PageOf(raw));
        return result;
    }

    static int PageOf(const std::string& strText)
    {
        std::size_t at = strText.find("page=");
        return at == std::string::npos ? 0 : std::atoi(strText.c_str() + at + 5);
    }

    CTestHttpServer server;
    std::map<int, TestHttpAnswer> pages; // set before the first request
};
