// The CSV export and the clipboard text of CListCtrlEx.
#include <algorithm>

#include "controls/CsvLine.h"
#include "controls/ListCtrlEx.h"
#include "platform/File.h"

void CListCtrlEx::AppendTitleLine(std::string& strText) const
{
    for (int i = 0; i < m_nColumnCount; ++i)
    {
        if (i > 0)
            strText += ',';
        AppendCsvField(strText, m_arrColumns[i].strTitle);
    }
    strText += "\r\n";
}

std::string CListCtrlEx::MakeRowLine(int nItem) const
{
    std::string strLine;
    for (int i = 0; i < m_nColumnCount; ++i)
    {
        if (i > 0)
            strLine += ',';
        AppendCsvField(strLine, GetItemText(nItem, i));
    }
    strLine += "\r\n";
    return strLine;
}

std::string CListCtrlEx::GetCsvText() const
{
    std::string strText;
    AppendTitleLine(strText);
    for (int i = 0; i < GetItemCount(); ++i)
        strText += MakeRowLine(i);
    return strText;
}

bool CListCtrlEx::SaveToFile(const std::string& strPath) const
{
    return platform::ReplaceFileAtomically(strPath, GetCsvText());
}

bool CListCtrlEx::CopySelectionToClipboard(std::string& strText)
{
    return CopyRowsToClipboard(GetSelectedItems(), strText);
}

bool CListCtrlEx::CopyRowsToClipboard(const std::vector<int>& arrItems, std::string& strText)
{
    int nCancel = 0;
    Publish(MSG_BEFORE_COPY_TO_CLIPBOARD, reinterpret_cast<std::intptr_t>(&nCancel), 0);
    if (nCancel != 0)
        return false;

    std::vector<int> arrRows;
    for (int nItem : arrItems)
    {
        if (IsValidItem(nItem))
            arrRows.push_back(nItem);
    }
    std::sort(arrRows.begin(), arrRows.end());
    arrRows.erase(std::unique(arrRows.begin(), arrRows.end()), arrRows.end());

    // The text has room for about 256 bytes a row of the whole list, in whole 4 KiB pages,
    // with one byte kept for the terminating NUL of the clipboard block; a line that does
    // not fit ends the text, so it never holds a partial row.
    const std::size_t nBufferSize = (m_arrRows.size() * 256 / 4096 + 1) * 4096;
    strText.clear();
    for (int nItem : arrRows)
    {
        std::string strLine = MakeRowLine(nItem);
        if (strLine.size() >= nBufferSize - strText.size())
            break;
        strText += strLine;
    }
    return true;
}
