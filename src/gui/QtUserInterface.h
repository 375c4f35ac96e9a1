// The desktop side of the user-interface port: message boxes owned by a dialog.
#pragma once

#include <QMessageBox>

#include "app/UserInterface.h"

class QWidget;

// A message box as the commands show it: caption, text, icon and one "확인" button.
QMessageBox* CreateMessageBox(QWidget* pOwner, const std::string& strText,
                              const std::string& strCaption, MessageIcon icon);

class CQtUserInterface : public IUserInterface
{
public:
    explicit CQtUserInterface(QWidget* pOwner);
    void ShowMessage(const std::string& strText, const std::string& strCaption,
                     MessageIcon icon) override;
    void ShowText(const std::string& strTitle, const std::string& strText) override;
    void ShowLogViewer(const std::string& strTitle, const LogRecordMap& records) override;

private:
    QWidget* m_pOwner;
};

// Shows the wait cursor while a command runs; the message boxes it opens show the arrow.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
