#include "gui/AboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include "app/Texts.h"
#include "gui/AppIcon.h"
#include "gui/DialogUnits.h"
#include "gui/QtText.h"

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent)
{
    setWindowTitle(FromCp949(GetText(TextId::kAboutCaption)));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(MakeDialogFont("MS Shell Dlg", 9));
    CDialogUnits du(font());
    setFixedSize(du.ToPixels(170, 62));

    auto* icon = new QLabel(this);
    icon->setPixmap(CreateAppIcon().pixmap(32, 32));
    icon->setGeometry(du.ToPixels(14, 14, 21, 20));
    auto* version = new QLabel(FromCp949(GetText(TextId::kAboutVersion)), this);
    version->setGeometry(du.ToPixels(42, 14, 114, 8));
    auto* copyright = new QLabel(FromCp949(GetText(TextId::kAboutCopyright)), this);
    copyright->setGeometry(du.ToPixels(42, 26, 114, 8));
    auto* ok = new QPushButton(FromCp949(GetText(TextId::kOk)), this);
    ok->setGeometry(du.ToPixels(113, 41, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
