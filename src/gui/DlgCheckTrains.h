// The line status dialog: every train of the train list in a sortable nine-column list,
// checked by eight workers while the dialog is open; each row fills in as its check ends,
// the caption counts the results, and "저장" writes the list to a CSV file.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "data/DataTrains.h"

class QPushButton;
class CListCtrlExView;
class CLineCheck;
class CLineCheckRun;
class ISettingManager;
struct TrainCheckResult;

class CDlgCheckTrains : public QDialog
{
    Q_OBJECT
public:
    // The settings give the wait of every log page ("TcpWaitSeconds", read anew each time);
    // they must outlive the dialog (checks that outlive it no longer read them).
    explicit CDlgCheckTrains(ISettingManager& settings, QWidget* pParent = nullptr);
    ~CDlgCheckTrains() override;

    // Set before the window is shown; texts and the path are code page 949 bytes.
    std::string m_strTitle;
    std::string m_strTrainFile;
    int m_nWaitSeconds = 2; // the wait of each port probe
    // How each router is asked; null: one ICMP echo. Tests replace it where the process
    // may not send ICMP.
    std::function<bool(const std::string&)> m_fnPing;

    int exec() override;
    // Enter does not close the window; Escape and the close box do.
    void accept() override {}
    // Every way of closing ends here: the checks are stopped first.
    void done(int nResult) override;

    CListCtrlExView* GetList() const { return m_listTrains; }
    QPushButton* GetSaveButton() const { return m_pButtonSave; }
    // Results shown so far and trains in the list.
    int GetServedCount() const;
    int GetTrainCount() const;
    // True from the start of the checks until every result is in or the dialog stopped.
    bool IsChecking() const;

public slots:
    void OnBnClickedSave();

protected:
    // The save-as question with strFileName proposed; true with the chosen path (in the
    // platform's file name encoding) when the user confirmed. Virtual for tests.
    virtual bool AskSaveFileName(std::string& strFileName);
    // Whether this process may send an ICMP echo at all. Virtual for tests.
    virtual bool CanSendPing() const;

    void showEvent(QShowEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void OnInitDialog();
    // Serves the results waiting in the channel (the queued call a worker's wake posts).
    void OnTrainResult();
    void ShowResult(const TrainCheckResult& result);
    void UpdateCaption();
    // Drops the trains not yet started and waits for the running checks, showing their
    // results; the run is gone afterwards.
    void StopChecks();

    struct PageWaitSource;

    ISettingManager& m_settings;
    std::shared_ptr<PageWaitSource> m_spPageWait;
    CDataTrains m_trains;
    std::shared_ptr<CLineCheck> m_spCheck;
    std::unique_ptr<CLineCheckRun> m_pRun;
    CListCtrlExView* m_listTrains = nullptr; // 1013
    QPushButton* m_pButtonSave = nullptr;    // 1015
    int m_nMarginX = 0;
    int m_nMarginY = 0;
    int m_nServed = 0; // kept once the run is gone
    bool m_bInitialised = false;
    bool m_bShown = false; // the template layout holds until the user resizes
};
