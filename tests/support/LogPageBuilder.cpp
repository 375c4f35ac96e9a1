#include "support/LogPageBuilder.h"

std::string MakeLogPageXml(const std::string& strTotalPage, const std::vector<LogItemFields>& items)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"euc-kr\"?>\r\n<System>\r\n\t<Log>\r\n";
    if (!strTotalPage.empty())
        xml += "\t\t<TotalPage>" + strTotalPage + "</TotalPage>\r\n";
    for (const LogItemFields& item : items)
    {
        xml += "\t\t<LogItem>\r\n";
        auto field = [&](const char* name, const std::string& value)
        { xml += std::string("\t\t\t<") + name + ">" + value + "</" + name + ">\r\n"; };
        if (!item.strIndex.empty())
            field("Index", item.strIndex);
        if (!item.strDate.empty())
            field("Date", item.strDate);
        if (!item.strTime.empty())
            field("Time", item.strTime);
        field("Category", item.strCategory);
        field("Content", item.strContent);
        field("Comment", item.strComment);
        xml += "\t\t</LogItem>\r\n";
    }
    xml += "\t</Log>\r\n</System>\r\n";
    return xml;
}
