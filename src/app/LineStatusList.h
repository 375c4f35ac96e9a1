// The line status list without its window: the nine columns and the rows of the trains,
// shared by the desktop dialog and the command line's output.
#pragma once

#include <string>
#include <vector>

#include "controls/ListColumnInfo.h"
#include "linecheck/LineCheck.h"

class CListCtrlEx;

constexpr int kLineStatusRowHeight = 16;
// The file name the save dialog proposes for the list.
constexpr const char* kLineStatusFileName = "LineStatus";

// "ID", "편성번호", "방향", "주소", "핑확인", "포트확인", "원격포트확인", "녹화에러",
// "확인완료": every column sortable and first sorted descending, the tag its index.
std::vector<ListColumnInfo> MakeLineStatusColumns();

// One row per train in ascending ID order: the ID ("%d", also the row's data), the set
// number, the direction ("%d") and the router's address; the result columns stay empty.
void AddTrainRows(CListCtrlEx& list, const CLineCheck& check);

// The check time as the list shows it: "%04d/%02d/%02d %02d:%02d:%02d".
std::string FormatCheckTimeCell(const std::string& strCheckTime);

// Fills columns 4 to 8 of the train's row, found by its row data (so sorting never sends
// a result to another train). false when the list has no row for it.
bool ShowTrainResult(CListCtrlEx& list, const TrainCheckResult& result);

// The list as the dialog opens it: row height, columns, then the rows.
void FillLineStatusList(CListCtrlEx& list, const CLineCheck& check);
