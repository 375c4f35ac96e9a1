#include "app/LogViewer.h"

#include <cstdint>

#include "app/Texts.h"
#include "controls/ListCtrlEx.h"
#include "platform/CrtNumbers.h"

std::vector<ListColumnInfo> MakeLogViewerColumns()
{
    struct ColumnDef
    {
        const char* pszTitle; // a fixed title, or null for the text below
        TextId title;
        int nWidth;
        int nSortType;
        int nFormat;
    };
    const ColumnDef defs[] = {
        {"ID", TextId::kCount, 50, SORT_ROW_NUMBER, LIST_FORMAT_CENTER},
        {nullptr, TextId::kLogColumnDate, 80, SORT_TEXT, LIST_FORMAT_CENTER},
        {nullptr, TextId::kLogColumnTime, 80, SORT_TEXT, LIST_FORMAT_CENTER},
        {nullptr, TextId::kLogColumnCategory, 80, SORT_TEXT, LIST_FORMAT_CENTER},
        {nullptr, TextId::kLogColumnContent, 200, SORT_TEXT, LIST_FORMAT_LEFT},
        {nullptr, TextId::kLogColumnComment, 250, SORT_TEXT, LIST_FORMAT_LEFT},
    };
    std::vector<ListColumnInfo> columns;
    for (const ColumnDef& def : defs)
    {
        columns.push_back(MakeSortableColumn(
            def.pszTitle != nullptr ? std::string(def.pszTitle) : GetText(def.title), def.nWidth,
            def.nSortType, def.nFormat, static_cast<std::intptr_t>(columns.size())));
    }
    return columns;
}

void AddLogRows(CListCtrlEx& list, const LogRecordMap& records)
{
    int nItem = list.GetItemCount();
    for (const auto& entry : records)
    {
        const LogRecord& record = entry.second;
        // The index is the row's data, sign-extended like a pointer-sized value.
        auto dwData = static_cast<std::uintptr_t>(static_cast<std::intptr_t>(record.m_nIndex));
        nItem = list.SetCell(nItem, 0, platform::FormatInt(record.m_nIndex), dwData);
        if (nItem < 0)
            return;
        list.SetCell(nItem, 1, record.m_strDate, 0);
        list.SetCell(nItem, 2, record.m_strTime, 0);
        list.SetCell(nItem, 3, record.m_strCategory, 0);
        list.SetCell(nItem, 4, record.m_strContent, 0);
        list.SetCell(nItem, 5, record.m_strComment, 0);
        ++nItem;
    }
}

void FillLogList(CListCtrlEx& list, const LogRecordMap& records)
{
    list.SetRowHeight(kLogViewerRowHeight);
    list.SetColumns(MakeLogViewerColumns());
    AddLogRows(list, records);
}
