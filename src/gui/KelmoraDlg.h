// The main dialog: the recorder's address, port, user and password and the five commands.
#pragma once

#include <QDialog>
#include <memory>

#include "app/ConnectionInfo.h"
#include "app/MainCommands.h"
#include "app/Paths.h"
#include "gui/QtUserInterface.h"

class QLineEdit;
class QPushButton;
class CLocalAppSettings;

class CKelmoraDlg : public QDialog, public IConnectionFields
{
    Q_OBJECT
public:
    // pUi replaces the message boxes (tests pass a recording port); null shows real ones.
    // strTrainFile is the train list the line check reads (code page 949 path).
    explicit CKelmoraDlg(CLocalAppSettings& settings, IUserInterface* pUi = nullptr,
                         QWidget* pParent = nullptr,
                         const std::string& strTrainFile = GetTrainListFilePath());
    ~CKelmoraDlg() override;

    std::string GetAddressText() const override;
    std::string GetPortText() const override;
    std::string GetUserText() const override;
    std::string GetPasswordText() const override;

    // Enter does not close the main dialog; Escape and the close box do.
    void accept() override {}

    // Controls by their template ids, for tests: 1001, 1003, 1005, 1007 and the buttons.
    QLineEdit* GetEdit(int nId) const;
    QPushButton* GetButton(int nId) const;

public slots:
    void OnBnClickedConnectionTest();
    void OnBnClickedSystemInformation();
    void OnBnClickedRecordingErrors();
    void OnBnClickedSystemLog();
    void OnBnClickedLineCheck();
    void OnAbout();

protected:
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    void CreateControls();
    void FillFields();

    CLocalAppSettings& m_settings;
    std::string m_strTrainFile;
    CQtUserInterface m_qtUi;
    IUserInterface& m_ui;
    CMainCommands m_commands;
    QLineEdit* m_pEditAddress = nullptr;  // 1001
    QLineEdit* m_pEditPort = nullptr;     // 1003
    QLineEdit* m_pEditUser = nullptr;     // 1005
    QLineEdit* m_pEditPassword = nullptr; // 1007
    QPushButton* m_pButtons[5] = {};      // 1008, 1010, 1012, 1009, 1014
};
