#include "gui/DlgLogViewer.h"

#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QResizeEvent>
#include <memory>

#include "app/LogViewer.h"
#include "app/Texts.h"
#include "gui/DialogUnits.h"
#include "gui/ListCtrlExView.h"
#include "gui/QtText.h"
#include "gui/QtUserInterface.h"

namespace
{
// The list keeps this much more room below it than its top margin, for the button.
constexpr int kButtonBandPixels = 30;
// The button's distance from the right and bottom edges once the window is resized.
constexpr int kButtonMarginPixels = 10;
} // namespace

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
    m_listLog->resize(size.width() - 2 * m_nOffsetLeft,
                      size.height() - 2 * m_nOffsetTop - kButtonBandPixels);
    QSize button = m_pButtonSave->size();
    m_pButtonSave->move(size.width() - kButtonMarginPixels - button.width(),
                        size.height() - kButtonMarginPixels - button.height());
}

bool CDlgLogViewer::AskSaveFileName(std::string& strFileName)
{
    // The standard save dialog without an owner; an existing file is replaced unasked.
    QFileDialog dialog(nullptr);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setNameFilter(QStringLiteral("CSV Files (*.csv)"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(strFileName)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    strFileName = QFile::encodeName(dialog.selectedFiles().first()).toStdString();
    return true;
}

void CDlgLogViewer::OnBnClickedSave()
{
    std::string strFileName = kLogViewerFileName;
    if (!AskSaveFileName(strFileName))
        return;
    if (m_listLog->GetList().SaveToFile(strFileName))
        return;
    // A save that did not happen is said, never left looking like a success.
    std::unique_ptr<QMessageBox> box(CreateMessageBox(this, GetText(TextId::kSaveFailed),
                                                      GetText(TextId::kSystemLogCaption),
                                                      MessageIcon::kError));
    box->exec();
}
