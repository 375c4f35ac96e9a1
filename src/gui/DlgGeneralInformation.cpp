#include "gui/DlgGeneralInformation.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QResizeEvent>

#include "gui/DialogUnits.h"
#include "gui/QtText.h"

CDlgGeneralInformation::CDlgGeneralInformation(QWidget* pParent) : QDialog(pParent)
{
    setWindowTitle(QStringLiteral("Dialog"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(MakeDialogFont("Tahoma", 8));
    CDialogUnits du(font());
    resize(du.ToPixels(339, 309));
    m_pEditText = new QPlainTextEdit(this);
    m_pEditText->setGeometry(du.ToPixels(7, 7, 325, 295));
    m_pEditText->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pEditText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pEditText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pEditText->installEventFilter(this);
}

int CDlgGeneralInformation::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CDlgGeneralInformation::showEvent(QShowEvent* pEvent)
{
    OnInitDialog();
    QDialog::showEvent(pEvent);
}

void CDlgGeneralInformation::OnInitDialog()
{
    if (m_bInitialised)
        return;
    m_bInitialised = true;
    setWindowTitle(FromCp949(m_strTitle));
    // The text reaches the control unchanged; only CR LF pairs become the line breaks the
    // widget knows, so that a CR is never shown as a character of its own.
    QString text = FromCp949(m_strText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_pEditText->setPlainText(text);
    m_nOffsetLeft = m_pEditText->geometry().left();
    m_nOffsetTop = m_pEditText->geometry().top();
}

void CDlgGeneralInformation::resizeEvent(QResizeEvent* pEvent)
{
    QDialog::resizeEvent(pEvent);
    QSize size = pEvent->size();
    if (size.width() == 0 || size.height() == 0 || m_pEditText == nullptr || !m_bInitialised)
        return;
    // Equal margins on all four sides.
    m_pEditText->resize(size.width() - 2 * m_nOffsetLeft, size.height() - 2 * m_nOffsetTop);
}

bool CDlgGeneralInformation::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pEditText && pEvent->type() == QEvent::KeyPress)
    {
        auto* key = static_cast<QKeyEvent*>(pEvent);
        // As in a dialog's multi-line field: Enter belongs to the dialog (and does nothing
        // here); Ctrl+Enter starts a new line.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & Qt::ControlModifier))
            return true;
    }
    return QDialog::eventFilter(pWatched, pEvent);
}
