#include "gui/KelmoraDlg.h"

#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "app/Texts.h"
#include "gui/AboutDlg.h"
#include "gui/AppIcon.h"
#include "gui/DialogUnits.h"
#include "gui/DlgCheckTrains.h"
#include "gui/QtText.h"
#include "platform/CrtNumbers.h"
#include "settings/LocalAppSettings.h"

namespace
{

// Buttons in tab order with their template ids.
struct ButtonDef
{
    int nId;
    TextId caption;
    int x, y;
};
constexpr ButtonDef kButtons[] = {
    {1008, TextId::kButtonConnectionTest, 307, 35}, {1010, TextId::kButtonSystemInformation, 7, 61},
    {1012, TextId::kButtonRecordingErrors, 60, 61}, {1009, TextId::kButtonSystemLog, 113, 61},
    {1014, TextId::kButtonLineCheck, 166, 61},
};

QString Tr(TextId id)
{
    return FromCp949(GetText(id));
}

} // namespace

CKelmoraDlg::CKelmoraDlg(CLocalAppSettings& settings, IUserInterface* pUi, QWidget* pParent,
                         const std::string& strTrainFile)
    : QDialog(pParent), m_settings(settings), m_strTrainFile(strTrainFile), m_qtUi(this),
      m_ui(pUi ? *pUi : m_qtUi), m_commands(settings, *this, m_ui)
{
    setWindowTitle(QStringLiteral("Kelmora"));
    setWindowIcon(CreateAppIcon());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(MakeDialogFont("Tahoma", 9));
    CreateControls();
    FillFields();
}

CKelmoraDlg::~CKelmoraDlg() = default;

void CKelmoraDlg::CreateControls()
{
    CDialogUnits du(font());
    setFixedSize(du.ToPixels(375, 82));

    // Created in the template's tab order: Qt's focus chain follows creation order.
    auto* group = new QGroupBox(Tr(TextId::kGroupConnection), this);
    group->setGeometry(du.ToPixels(7, 7, 361, 48));

    auto makeEdit = [&](int x, int y, int cx, int cy)
    {
        auto* edit = new QLineEdit(this);
        edit->setGeometry(du.ToPixels(x, y, cx, cy));
        return edit;
    };
    m_pEditAddress = makeEdit(73, 19, 73, 14);
    m_pEditPort = makeEdit(217, 19, 48, 14);
    // Digits only, with no range limit: 70000 is accepted and stored as typed.
    m_pEditPort->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    m_pEditUser = makeEdit(73, 35, 73, 14);
    m_pEditPassword = makeEdit(217, 35, 84, 14);
    m_pEditPassword->setEchoMode(QLineEdit::Password);

    void (CKelmoraDlg::*handlers[])() = {
        &CKelmoraDlg::OnBnClickedConnectionTest, &CKelmoraDlg::OnBnClickedSystemInformation,
        &CKelmoraDlg::OnBnClickedRecordingErrors, &CKelmoraDlg::OnBnClickedSystemLog,
        &CKelmoraDlg::OnBnClickedLineCheck};
    auto makeButton = [&](int i)
    {
        const ButtonDef& def = kButtons[i];
        auto* button = new QPushButton(Tr(def.caption), this);
        button->setGeometry(du.ToPixels(def.x, def.y, 50, 14));
        button->setObjectName(QString::number(def.nId));
        // No button is the default: Enter in a field does nothing (see keyPressEvent).
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, handlers[i]);
        m_pButtons[i] = button;
    };
    for (int i = 0; i < 4; ++i)
        makeButton(i);

    auto makeLabel = [&](TextId text, int x, int y)
    {
        auto* label = new QLabel(Tr(text), this);
        label->setGeometry(du.ToPixels(x, y, 46, 8));
    };
    makeLabel(TextId::kLabelAddress, 21, 22);
    makeLabel(TextId::kLabelPort, 168, 22);
    makeLabel(TextId::kLabelUser, 21, 38);
    makeLabel(TextId::kLabelPassword, 168, 38);

    makeButton(4);
}

void CKelmoraDlg::FillFields()
{
    m_pEditAddress->setText(FromCp949(m_settings.GetVornAddress()));
    m_pEditPort->setText(QString::fromStdString(platform::FormatInt(
        m_settings.GetLong(0, settingkeys::kVornPort, settingkeys::kDefaultPort))));
    m_pEditUser->setText(FromCp949(m_settings.GetVornUser()));
    m_pEditPassword->setText(FromCp949(m_settings.GetVornPassword()));
}

std::string CKelmoraDlg::GetAddressText() const
{
    return ToCp949(m_pEditAddress->text());
}
std::string CKelmoraDlg::GetPortText() const
{
    return ToCp949(m_pEditPort->text());
}
std::string CKelmoraDlg::GetUserText() const
{
    return ToCp949(m_pEditUser->text());
}
std::string CKelmoraDlg::GetPasswordText() const
{
    return ToCp949(m_pEditPassword->text());
}

QLineEdit* CKelmoraDlg::GetEdit(int nId) const
{
    switch (nId)
    {
    case 1001:
        return m_pEditAddress;
    case 1003:
        return m_pEditPort;
    case 1005:
        return m_pEditUser;
    case 1007:
        return m_pEditPassword;
    default:
        return nullptr;
    }
}

QPushButton* CKelmoraDlg::GetButton(int nId) const
{
    for (int i = 0; i < 5; ++i)
        if (kButtons[i].nId == nId)
            return m_pButtons[i];
    return nullptr;
}

void CKelmoraDlg::OnBnClickedConnectionTest()
{
    CWaitCursor wait;
    m_commands.OnBnClickedConnectionTest();
}

void CKelmoraDlg::OnBnClickedSystemInformation()
{
    CWaitCursor wait;
    m_commands.OnBnClickedSystemInformation();
}

void CKelmoraDlg::OnBnClickedRecordingErrors()
{
    CWaitCursor wait;
    m_commands.OnBnClickedRecordingErrors();
}

void CKelmoraDlg::OnBnClickedSystemLog()
{
    CWaitCursor wait;
    m_commands.OnBnClickedSystemLog();
}

void CKelmoraDlg::OnBnClickedLineCheck()
{
    // No wait cursor: the checks run behind the modal dialog, which stays usable.
    CDlgCheckTrains dlg(m_settings, this);
    dlg.m_strTitle = GetText(TextId::kLineCheckTitle);
    dlg.m_strTrainFile = m_strTrainFile;
    dlg.m_nWaitSeconds =
        m_settings.GetLong(0, settingkeys::kTcpWaitSeconds, settingkeys::kDefaultWaitSeconds);
    dlg.exec();
    m_commands.StoreConnectionSettings();
}

void CKelmoraDlg::OnAbout()
{
    CAboutDlg about(this);
    about.exec();
}

void CKelmoraDlg::keyPressEvent(QKeyEvent* pEvent)
{
    if ((pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter) &&
        (pEvent->modifiers() & ~Qt::KeypadModifier) == 0)
    {
        // As in a dialog without a default button: Enter presses the button that has the
        // focus and otherwise nothing; it never closes the dialog.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        return;
    }
    QDialog::keyPressEvent(pEvent);
}

void CKelmoraDlg::contextMenuEvent(QContextMenuEvent* pEvent)
{
    // Where the window manager offers no system menu of ours, the about entry lives here.
    QMenu menu(this);
    menu.addAction(Tr(TextId::kAboutMenuItem), this, &CKelmoraDlg::OnAbout);
    menu.exec(pEvent->globalPos());
}
