#include "gui/QtUserInterface.h"

#include <QApplication>
#include <QPushButton>

#include "app/Texts.h"
#include "gui/DlgGeneralInformation.h"
#include "gui/DlgLogViewer.h"
#include "gui/QtText.h"

QMessageBox* CreateMessageBox(QWidget* pOwner, const std::string& strText,
                              const std::string& strCaption, MessageIcon icon)
{
    auto* box = new QMessageBox(pOwner);
    box->setWindowTitle(FromCp949(strCaption));
    box->setText(FromCp949(strText));
    box->setIcon(icon == MessageIcon::kError ? QMessageBox::Critical : QMessageBox::Information);
    QPushButton* ok = box->addButton(FromCp949(GetText(TextId::kOk)), QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    return box;
}

CQtUserInterface::CQtUserInterface(QWidget* pOwner) : m_pOwner(pOwner) {}

void CQtUserInterface::ShowMessage(const std::string& strText, const std::string& strCaption,
                                   MessageIcon icon)
{
    bool bWaiting = QApplication::overrideCursor() != nullptr;
    if (bWaiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox* box = CreateMessageBox(m_pOwner, strText, strCaption, icon);
    box->exec();
    delete box;
    if (bWaiting)
        QApplication::restoreOverrideCursor();
}

void CQtUserInterface::ShowText(const std::string& strTitle, const std::string& strText)
{
    bool bWaiting = QApplication::overrideCursor() != nullptr;
    if (bWaiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    CDlgGeneralInformation dlg(m_pOwner);
    dlg.m_strTitle = strTitle;
    dlg.m_strText = strText;
    dlg.exec();
    if (bWaiting)
        QApplication::restoreOverrideCursor();
}

void CQtUserInterface::ShowLogViewer(const std::string& strTitle, const LogRecordMap& records)
{
    bool bWaiting = QApplication::overrideCursor() != nullptr;
    if (bWaiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    CDlgLogViewer dlg(m_pOwner);
    dlg.m_strTitle = strTitle;
    dlg.m_mapRecords = records;
    dlg.exec();
    if (bWaiting)
        QApplication::restoreOverrideCursor();
}

CWaitCursor::CWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}
CWaitCursor::~CWaitCursor()
{
    QApplication::restoreOverrideCursor();
}
