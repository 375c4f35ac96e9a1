#include "app/LineStatusList.h"

#include <cstdint>
#include <cstdio>

#include "app/Texts.h"
#include "controls/ListCtrlEx.h"
#include "linecheck/DateTimeText.h"
#include "platform/CrtNumbers.h"

namespace
{

std::uintptr_t RowData(int nID)
{
    return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(nID));
}

} // namespace

std::vector<ListColumnInfo> MakeLineStatusColumns()
{
    struct ColumnDef
    {
        TextId title; // kCount: the fixed title "ID"
        int nWidth;
        int nSortType;
        int nFormat;
    };
    const ColumnDef defs[] = {
        {TextId::kCount, 50, SORT_ROW_NUMBER, LIST_FORMAT_CENTER},
        {TextId::kLineColumnSetNumber, 80, SORT_INTEGER, LIST_FORMAT_CENTER},
        {TextId::kLineColumnDirection, 80, SORT_INTEGER, LIST_FORMAT_CENTER},
        {TextId::kLineColumnAddress, 100, SORT_TEXT, LIST_FORMAT_LEFT},
        {TextId::kLineColumnPing, 80, SORT_TEXT, LIST_FORMAT_CENTER},
        {TextId::kLineColumnPort, 80, SORT_TEXT, LIST_FORMAT_CENTER},
        {TextId::kLineColumnRdpPort, 80, SORT_TEXT, LIST_FORMAT_CENTER},
        {TextId::kLineColumnErrors, 250, SORT_TEXT, LIST_FORMAT_LEFT},
        {TextId::kLineColumnCheckTime, 150, SORT_TEXT, LIST_FORMAT_LEFT},
    };
    std::vector<ListColumnInfo> columns;
    for (const ColumnDef& def : defs)
    {
        columns.push_back(MakeSortableColumn(
            def.title == TextId::kCount ? std::string("ID") : GetText(def.title), def.nWidth,
            def.nSortType, def.nFormat, static_cast<std::intptr_t>(columns.size())));
    }
    return columns;
}

void AddTrainRows(CListCtrlEx& list, const CLineCheck& check)
{
    int nItem = list.GetItemCount();
    for (int nID : check.GetTrainIDs())
    {
        CDataTrain train = check.GetTrain(nID);
        nItem = list.SetCell(nItem, 0, platform::FormatInt(nID), RowData(nID));
        if (nItem < 0)
            return;
        list.SetItemText(nItem, 1, train.GetSetNumber());
        list.SetItemText(nItem, 2, platform::FormatInt(train.GetDirection()));
        list.SetItemText(nItem, 3, train.GetLTERAddress());
        ++nItem;
    }
}

std::string FormatCheckTimeCell(const std::string& strCheckTime)
{
    platform::SystemTime time{};
    ParseDateTime(strCheckTime, &time);
    char text[64];
    std::snprintf(text, sizeof(text), "%04d/%02d/%02d %02d:%02d:%02d", time.nYear, time.nMonth,
                  time.nDay, time.nHour, time.nMinute, time.nSecond);
    return text;
}

bool ShowTrainResult(CListCtrlEx& list, const TrainCheckResult& result)
{
    int nItem = list.FindRowByData(RowData(result.nID));
    if (nItem < 0)
        return false;
    bool bHasResult = !result.strCheckTime.empty();
    list.SetItemText(nItem, 4, bHasResult ? OutcomeText(result.nPing) : std::string());
    list.SetItemText(nItem, 5, bHasResult ? OutcomeText(result.nPort) : std::string());
    list.SetItemText(nItem, 6, bHasResult ? OutcomeText(result.nRdpPort) : std::string());
    list.SetItemText(nItem, 7, bHasResult ? MakeErrorColumnText(result) : std::string());
    list.SetItemText(nItem, 8,
                     bHasResult ? FormatCheckTimeCell(result.strCheckTime) : std::string());
    return true;
}

void FillLineStatusList(CListCtrlEx& list, const CLineCheck& check)
{
    list.SetRowHeight(kLineStatusRowHeight);
    list.SetColumns(MakeLineStatusColumns());
    AddTrainRows(list, check);
}
