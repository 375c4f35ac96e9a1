// Helpers of the GUI tests: screenshots on request and closing modal windows.
#pragma once

#include <QString>
#include <functional>

class QWidget;

// Saves a picture of the widget as <name>.png in $KELMORA_SCREENSHOT_DIR, when that is set.
void SaveScreenshot(QWidget* pWidget, const QString& name);

// Runs fn on the first modal window that opens from now on, then the caller's action goes
// on; used to look at and close dialogs that exec() opens.
void OnNextModal(std::function<void(QWidget*)> fn);
