#include "gui/DlgCheckTrains.h"

#include <QPushButton>
#include <QResizeEvent>
#include <memory>
#include <mutex>
#include <vector>

#include "app/LineStatusList.h"
#include "app/Texts.h"
#include "data/XmlSerialization.h"
#include "gui/DialogUnits.h"
#include "gui/ListCtrlExView.h"
#include "gui/ListDialogSupport.h"
#include "gui/QtText.h"
#include "gui/QtUserInterface.h"
#include "linecheck/LineCheck.h"
#include "platform/CrtNumbers.h"
#include "platform/Ping.h"
#include "settings/ISettingManager.h"
#include "settings/LocalAppSettings.h"

// The settings as the log scan asks them for every page. A check still running after the
// pool's bound outlives the dialog; once the dialog is gone it gets the default instead of
// touching a store that may be gone too.
struct CDlgCheckTrains::PageWaitSource
{
    std::mutex csLock;
    ISettingManager* pSettings = nullptr; // null once the dialog stopped its checks

    int GetSeconds()
    {
        std::lock_guard<std::mutex> guard(csLock);
        if (pSettings == nullptr)
            return settingkeys::kDefaultWaitSeconds;
        return static_cast<int>(
            pSettings->GetLong(0, settingkeys::kTcpWaitSeconds, settingkeys::kDefaultWaitSeconds));
    }
    void Detach()
    {
        std::lock_guard<std::mutex> guard(csLock);
        pSettings = nullptr;
    }
};

CDlgCheckTrains::CDlgCheckTrains(ISettingManager& settings, QWidget* pParent)
    : QDialog(pParent), m_settings(settings)
{
    setWindowTitle(QStringLiteral("Dialog"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(MakeDialogFont("Tahoma", 8));
    CDialogUnits du(font());
    resize(du.ToPixels(523, 256));
    m_listTrains = new CListCtrlExView(this);
    m_listTrains->setGeometry(du.ToPixels(7, 7, 509, 226));
    m_listTrains->setObjectName(QStringLiteral("1013"));
    m_pButtonSave = new QPushButton(FromCp949(GetText(TextId::kButtonSave)), this);
    m_pButtonSave->setGeometry(du.ToPixels(466, 236, 50, 14));
    m_pButtonSave->setObjectName(QStringLiteral("1015"));
    m_pButtonSave->setAutoDefault(false);
    connect(m_pButtonSave, &QPushButton::clicked, this, &CDlgCheckTrains::OnBnClickedSave);
}

CDlgCheckTrains::~CDlgCheckTrains()
{
    // While the list still exists: the running checks' results are shown as they end.
    StopChecks();
}

int CDlgCheckTrains::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CDlgCheckTrains::showEvent(QShowEvent* pEvent)
{
    OnInitDialog();
    QDialog::showEvent(pEvent);
    m_bShown = true;
}

void CDlgCheckTrains::done(int nResult)
{
    StopChecks();
    QDialog::done(nResult);
}

bool CDlgCheckTrains::CanSendPing() const
{
    return platform::GetPingSocketKind() != platform::PingSocketKind::kNone;
}

void CDlgCheckTrains::OnInitDialog()
{
    if (m_bInitialised)
        return;
    m_bInitialised = true;
    setWindowTitle(FromCp949(m_strTitle));

    XmlLoadResult loaded;
    LoadXmlFile(m_strTrainFile, &m_trains, &loaded);
    if (!loaded.Ok())
    {
        // The dialog goes on with what the list holds: nothing, for a new list.
        std::unique_ptr<QMessageBox> box(CreateMessageBox(
            this, GetText(TextId::kTrainFileUnreadable), m_strTitle, MessageIcon::kError));
        box->exec();
    }

    CLineCheck::Config config;
    config.nWaitSeconds = m_nWaitSeconds;
    m_spPageWait = std::make_shared<PageWaitSource>();
    m_spPageWait->pSettings = &m_settings;
    std::shared_ptr<PageWaitSource> spPageWait = m_spPageWait;
    config.fnPageWaitSeconds = [spPageWait] { return spPageWait->GetSeconds(); };
    config.fnPing = m_fnPing;
    m_spCheck = std::make_shared<CLineCheck>(m_trains.GetTrains(), config);

    // All rows in one go, painted once at the end; the view then takes the row height and
    // the column widths the list was given.
    CListCtrlEx& list = m_listTrains->GetList();
    m_listTrains->SetRedraw(false);
    FillLineStatusList(list, *m_spCheck);
    std::vector<ListColumnInfo> columns;
    for (int i = 0; i < list.GetColumnCount(); ++i)
        columns.push_back(list.GetColumn(i));
    m_listTrains->SetColumns(columns);
    m_listTrains->SetRowHeight(list.GetRowHeight());
    m_listTrains->SetRedraw(true);
    m_nMarginX = m_listTrains->geometry().left();
    m_nMarginY = m_listTrains->geometry().top();

    // Without any ICMP socket every router would read "X" with no reason given.
    if (!m_fnPing && !CanSendPing())
    {
        std::unique_ptr<QMessageBox> box(CreateMessageBox(this, GetText(TextId::kPingUnavailable),
                                                          m_strTitle, MessageIcon::kInformation));
        box->exec();
    }

    m_pRun = std::make_unique<CLineCheckRun>(m_spCheck);
    m_pRun->SetResultHandler([this](const TrainCheckResult& result) { ShowResult(result); });
    // Called on a worker's thread: only a queued call reaches the dialog's thread. The run
    // clears this before it is gone, and Qt drops calls still queued for a dead dialog.
    m_pRun->SetWakeCallback(
        [this]
        {
            QMetaObject::invokeMethod(
                this, [this] { OnTrainResult(); }, Qt::QueuedConnection);
        });
    m_pRun->Start();
    UpdateCaption();
}

void CDlgCheckTrains::OnTrainResult()
{
    if (m_pRun != nullptr)
        m_pRun->ServeResults();
}

void CDlgCheckTrains::ShowResult(const TrainCheckResult& result)
{
    ++m_nServed;
    // Found by its row data: a sort during the check never sends it to another row.
    ShowTrainResult(m_listTrains->GetList(), result);
    m_listTrains->viewport()->update();
    UpdateCaption();
}

int CDlgCheckTrains::GetServedCount() const
{
    return m_nServed;
}

int CDlgCheckTrains::GetTrainCount() const
{
    return static_cast<int>(m_trains.GetTrains().size());
}

bool CDlgCheckTrains::IsChecking() const
{
    return m_pRun != nullptr && m_nServed < GetTrainCount();
}

void CDlgCheckTrains::UpdateCaption()
{
    // "2호선 전체 상태 확인 (12/20)" while checks run; the plain title once all are in.
    std::string strCaption = m_strTitle;
    if (IsChecking())
        strCaption += " (" + platform::FormatInt(m_nServed) + "/" +
                      platform::FormatInt(GetTrainCount()) + ")";
    setWindowTitle(FromCp949(strCaption));
}

void CDlgCheckTrains::StopChecks()
{
    if (m_pRun == nullptr)
        return;
    // Stop serves the running checks' results through the handler while it waits.
    m_pRun->Stop();
    m_pRun.reset();
    m_spPageWait->Detach();
    UpdateCaption();
}

void CDlgCheckTrains::resizeEvent(QResizeEvent* pEvent)
{
    QDialog::resizeEvent(pEvent);
    QSize size = pEvent->size();
    if (size.width() == 0 || size.height() == 0 || !m_bInitialised || !m_bShown)
        return;
    // Equal margins on all sides, with the button's band below the list.
    LayoutListAndSaveButton(m_listTrains, m_pButtonSave, size, m_nMarginX, m_nMarginY);
}

bool CDlgCheckTrains::AskSaveFileName(std::string& strFileName)
{
    return AskSaveCsvFileName(strFileName);
}

void CDlgCheckTrains::OnBnClickedSave()
{
    SaveListAsCsv(this, m_listTrains->GetList(), kLineStatusFileName, m_strTitle,
                  [this](std::string& strFileName) { return AskSaveFileName(strFileName); });
}
