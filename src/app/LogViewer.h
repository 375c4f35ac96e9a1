// The log viewer's list without its window: the six columns and the rows made from the
// records, shared by the desktop viewer and the command line's CSV output.
#pragma once

#include <string>
#include <vector>

#include "app/LogRecord.h"
#include "controls/ListColumnInfo.h"

class CListCtrlEx;

// Every row of the viewer is this many pixels tall.
constexpr int kLogViewerRowHeight = 16;
// The file name the save dialog proposes.
constexpr const char* kLogViewerFileName = "VORNSystemLog";

// "ID", "날짜", "시간", "종류", "내용", "비고": row number, then five text columns; every
// column sortable, first sort descending, the tag is the column's index.
std::vector<ListColumnInfo> MakeLogViewerColumns();

// One row per record in ascending index order, appended after the rows already there:
// column 0 holds the index ("%d", also the row's data), then date, time, kind, content
// and remark.
void AddLogRows(CListCtrlEx& list, const LogRecordMap& records);

// The list as the viewer opens it: row height, columns, then the rows.
void FillLogList(CListCtrlEx& list, const LogRecordMap& records);
