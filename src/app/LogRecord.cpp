#include "app/LogRecord.h"

#include <utility>

#include "platform/CrtNumbers.h"
#include "web/RecorderPages.h"

LogRecord ReadLogRecord(const CXmlCfg& doc, int nItem)
{
    LogRecord record;
    std::string strIndex = GetLogItemField(doc, nItem, "Index");
    record.m_nIndex = strIndex.empty() ? 0 : platform::CrtAtol(strIndex.c_str());
    record.m_strDate = GetLogItemField(doc, nItem, "Date");
    record.m_strTime = GetLogItemField(doc, nItem, "Time");
    record.m_strCategory = GetLogItemField(doc, nItem, "Category");
    record.m_strContent = GetLogItemField(doc, nItem, "Content");
    record.m_strComment = GetLogItemField(doc, nItem, "Comment");
    return record;
}

bool AddLogRecord(LogRecordMap& records, LogRecord record)
{
    std::int32_t nIndex = record.m_nIndex;
    return records.emplace(nIndex, std::move(record)).second;
}
