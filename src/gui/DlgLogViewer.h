// The system log viewer: the log records in a sortable six-column list, resizable, with a
// "저장" button that writes the list as it is shown to a CSV file.
#pragma once

#include <QDialog>
#include <string>

#include "app/LogRecord.h"

class QPushButton;
class CListCtrlExView;

class CDlgLogViewer : public QDialog
{
    Q_OBJECT
public:
    explicit CDlgLogViewer(QWidget* pParent = nullptr);

    // Set before the window is shown; texts are code page 949.
    LogRecordMap m_mapRecords;
    std::string m_strTitle;

    int exec() override;
    // Enter does not close the window; Escape and the close box do.
    void accept() override {}

    CListCtrlExView* GetList() const { return m_listLog; }
    QPushButton* GetSaveButton() const { return m_pButtonSave; }

public slots:
    void OnBnClickedSave();

protected:
    // The save-as question with strFileName proposed; true with the chosen path (in the
    // platform's file name encoding) when the user confirmed. Virtual for tests.
    virtual bool AskSaveFileName(std::string& strFileName);

    void showEvent(QShowEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void OnInitDialog();

    CListCtrlExView* m_listLog = nullptr; // 1013
    QPushButton* m_pButtonSave = nullptr; // 1015
    int m_nOffsetLeft = 0;
    int m_nOffsetTop = 0;
    bool m_bInitialised = false;
    bool m_bShown = false; // the template layout holds until the user resizes
};
