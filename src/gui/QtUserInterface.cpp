#include "gui/QtUserInterface.h"

#include <QApplication>
#include <QPushButton>
#include <memory>

#include "app/Texts.h"
#include "gui/DlgGeneralInformation.h"
#include "gui/DlgLogViewer.h"
#include "gui/QtText.h"

namespace
{

// While a command runs under the wait cursor, the window it opens shows the arrow.
class CArrowWhileWaiting
{
public:
    CArrowWhileWaiting() : m_bWaiting(QApplication::overrideCursor() != nullptr)
    {
        if (m_bWaiting)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~CArrowWhileWaiting()
    {
        if (m_bWaiting)
            QApplication::restoreOverrideCursor();
    }
    CArrowWhileWaiting(const CArrowWhileWaiting&) = delete;
    CArrowWhileWaiting& operator=(const CArrowWhileWaiting&) = delete;

private:
    bool m_bWaiting;
};

} // namespace

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
    CArrowWhileWaiting arrow;
    std::unique_ptr<QMessageBox> box(CreateMessageBox(m_pOwner, strText, strCaption, icon));
    box->exec();
}

void CQtUserInterface::ShowText(const std::string& strTitle, const std::string& strText)
{
    CArrowWhileWaiting arrow;
    CDlgGeneralInformation dlg(m_pOwner);
    dlg.m_strTitle = strTitle;
    dlg.m_strText = strText;
    dlg.exec();
}

void CQtUserInterface::ShowLogViewer(const std::string& strTitle, const LogRecordMap& records)
{
    CArrowWhileWaiting arrow;
    CDlgLogViewer dlg(m_pOwner);
    dlg.m_strTitle = strTitle;
    dlg.m_mapRecords = records;
    dlg.exec();
}

CWaitCursor::CWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}
CWaitCursor::~CWaitCursor()
{
    QApplication::restoreOverrideCursor();
}
