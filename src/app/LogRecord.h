// One entry of the recorder's system log and the ordered collection the log viewer shows.
#pragma once

#include <cstdint>
#include <map>
#include <string>

class CXmlCfg;

struct LogRecord
{
    std::int32_t m_nIndex = 0; // atol of "Index"; 0 when it is missing or empty
    std::string m_strDate;
    std::string m_strTime;
    std::string m_strCategory;
    std::string m_strContent;
    std::string m_strComment;
};

// The records by index, ascending.
using LogRecordMap = std::map<std::int32_t, LogRecord>;

// The N-th (from 1) "LogItem" of a loaded log page; a missing element gives an empty text.
LogRecord ReadLogRecord(const CXmlCfg& doc, int nItem);

// Adds the record unless its index is taken: the first record read with an index wins, so a
// later duplicate (or a later entry without a usable index) is dropped. True when added.
bool AddLogRecord(LogRecordMap& records, LogRecord record);
