// The information window: one caption and one text, shown modally and resizable. The text
// may be edited; the edits are dropped when the window closes.
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;

class CDlgGeneralInformation : public QDialog
{
    Q_OBJECT
public:
    explicit CDlgGeneralInformation(QWidget* pParent = nullptr);

    // Set before the window is shown; both are code page 949.
    std::string m_strText;
    std::string m_strTitle;

    int exec() override;
    // Enter does not close the window; Escape and the close box do.
    void accept() override {}

    QPlainTextEdit* GetEdit() const { return m_pEditText; }

protected:
    void showEvent(QShowEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void OnInitDialog();

    QPlainTextEdit* m_pEditText = nullptr; // 1011
    int m_nOffsetLeft = 0;
    int m_nOffsetTop = 0;
    bool m_bInitialised = false;
};
