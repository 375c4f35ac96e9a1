#include "gui/ListDialogSupport.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QWidget>
#include <memory>

#include "app/Texts.h"
#include "controls/ListCtrlEx.h"
#include "gui/QtUserInterface.h"

void LayoutListAndSaveButton(QWidget* pList, QWidget* pButton, const QSize& clientSize,
                             int nMarginX, int nMarginY)
{
    pList->resize(clientSize.width() - 2 * nMarginX,
                  clientSize.height() - 2 * nMarginY - kListButtonBandPixels);
    QSize button = pButton->size();
    pButton->move(clientSize.width() - kListButtonMarginPixels - button.width(),
                  clientSize.height() - kListButtonMarginPixels - button.height());
}

bool AskSaveCsvFileName(std::string& strFileName)
{
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

void SaveListAsCsv(QWidget* pOwner, const CListCtrlEx& list, const std::string& strProposed,
                   const std::string& strCaption,
                   const std::function<bool(std::string&)>& fnAskFileName)
{
    std::string strFileName = strProposed;
    if (!fnAskFileName(strFileName))
        return;
    if (list.SaveToFile(strFileName))
        return;
    // A save that did not happen is said, never left looking like a success.
    std::unique_ptr<QMessageBox> box(
        CreateMessageBox(pOwner, GetText(TextId::kSaveFailed), strCaption, MessageIcon::kError));
    box->exec();
}
