// Recorder log pages as the recorders write them, for tests and the simulator.
#pragma once

#include <string>
#include <vector>

struct LogItemFields
{
    std::string strIndex;
    std::string strDate;
    std::string strTime;
    std::string strCategory;
    std::string strContent;
    std::string strComment;
};

// <System><Log><TotalPage>..</TotalPage><LogItem>..</LogItem>...</Log></System>; an empty
// total leaves the TotalPage element out. Texts are written as given (escape them first).
std::string MakeLogPageXml(const std::string& strTotalPage,
                           const std::vector<LogItemFields>& items);
