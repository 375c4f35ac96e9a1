#include "gui/DlgLogViewer.h"

#include <QPushButton>
#include <QResizeEvent>
#include <memory>

#include "app/LogViewer.h"
#include "app/Texts.h"
#include "gui/DialogUnits.h"
#include "gui/ListCtrlExView.h"
#include "gui/ListDialogSupport.h"
#include "gui/QtText.h"
#include "gui/QtUserInterface.h"

CDlgLogViewer::CDlgLogViewer(QWidget* pParent) : QDialog(pParent)
{
    setWindowTitle(QStringLiteral("Dialog"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(MakeDialogFont("Tahoma", 8));
    CDialogUnits du(font());
    resize(du.ToPixels(523, 256));
    m_listLog = new CListCtrlExView(this);
    m_listLog->setGeometry(du.ToPixels(7, 7, 509, 226));
    m_listLog->setObjectName(QStringLiteral("1013"));
    m_pButtonSave = new QPushButton(FromCp949(GetText(TextId::kButtonSave)), this);
    m_pButtonSave->setGeometry(du.ToPixels(466, 236, 50, 14));
    m_pButtonSave->setObjectName(QStringLiteral("1015"));
    m_pButtonSave->setAutoDefault(false);
    connect(m_pButtonSave, &QPushButton::clicked, this, &CDlgLogViewer::OnBnClickedSave);
}

int CDlgLogViewer::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CDlgLogViewer::showEvent(QShowEvent* pEvent)
{
    OnInitDialog();
    QDialog::showEvent(pEvent);
    m_bShown = true;
}

void CDlgLogViewer::OnInitDialog()
{
    if (m_bInitialised)
        return;
    m_bInitialised = true;
    setWindowTitle(FromCp949(m_strTitle));
    m_listLog->SetRowHeight(kLogViewerRowHeight);
    m_listLog->SetColumns(MakeLogViewerColumns());
    // All rows in one go, painted once at the end.
    m_listLog->SetRedraw(false);
    AddLogRows(m_listLog->GetList(), m_mapRecords);
    m_listLog->SetRedraw(true);
    m_nOffsetLeft = m_listLog->geometry().left();
    m_nOffsetTop = m_listLog->geometry().top();
}

void CDlgLogViewer::resizeEvent(QResizeEvent* pEvent)
{
    QDialog::resizeEvent(pEvent);
    QSize size = pEvent->size();
    if (size.width() == 0 || size.height() == 0 || !m_bInitialised || !m_bShown)
        return;
    LayoutListAndSaveButton(m_listLog, m_pButtonSave, size, m_nOffsetLeft, m_nOffsetTop);
}

bool CDlgLogViewer::AskSaveFileName(std::string& strFileName)
{
    return AskSaveCsvFileName(strFileName);
}

void CDlgLogViewer::OnBnClickedSave()
{
    SaveListAsCsv(this, m_listLog->GetList(), kLogViewerFileName,
                  GetText(TextId::kSystemLogCaption),
                  [this](std::string& strFileName) { return AskSaveFileName(strFileName); });
}
