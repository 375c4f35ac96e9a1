// What the two list dialogs (the log viewer and the line status dialog) share: the layout
// of the list and the "저장" button on resize, and saving the list as CSV.
#pragma once

#include <QSize>
#include <functional>
#include <string>

class CListCtrlEx;
class QWidget;

// The list keeps equal margins with this much more room below it, for the button; the
// button stays this far from the right and bottom edges.
constexpr int kListButtonBandPixels = 30;
constexpr int kListButtonMarginPixels = 10;

void LayoutListAndSaveButton(QWidget* pList, QWidget* pButton, const QSize& clientSize,
                             int nMarginX, int nMarginY);

// The standard save dialog without an owner: default suffix csv, filter "CSV Files (*.csv)",
// an existing file replaced unasked. false when the user cancelled.
bool AskSaveCsvFileName(std::string& strFileName);

// Asks for a file name (starting from strProposed) and writes the list there; a save that
// fails is told in an error box with the caption. Cancelling does nothing.
void SaveListAsCsv(QWidget* pOwner, const CListCtrlEx& list, const std::string& strProposed,
                   const std::string& strCaption,
                   const std::function<bool(std::string&)>& fnAskFileName);
