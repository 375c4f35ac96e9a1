// The line status dialog on a simulated line: rows in ID order, a sort by the ping column
// while checks run, every result in its own row, the caption's progress, the CSV export,
// the file and ping messages, closing while checks run, and the main dialog's button.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "GuiTestSupport.h"
#include "LineSim.h"
#include "ListViewTestSupport.h"
#include "data/TrainListText.h"
#include "gui/DialogUnits.h"
#include "gui/DlgCheckTrains.h"
#include "gui/KelmoraDlg.h"
#include "gui/ListCtrlExView.h"
#include "gui/QtText.h"
#include "platform/Codepage.h"
#include "platform/Ping.h"
#include "settings/LocalAppSettings.h"
#include "support/TempDir.h"

namespace
{

const char* const kTitle = "2호선 전체 상태 확인";
// Far beyond what a check of a loopback line takes, even under the sanitizers.
constexpr int kCheckBoundMs = 60000;

// The settings store, counting how often the page wait is read.
class CCountingSettings : public CLocalAppSettings
{
public:
    std::int32_t GetLong(int nCategory, const std::string& strName, std::int32_t nDefault) override
    {
        if (strName == "TcpWaitSeconds")
            ++m_nWaitReads;
        return CLocalAppSettings::GetLong(nCategory, strName, nDefault);
    }
    std::atomic<int> m_nWaitReads{0};
};

// A line of simulated recorders, its train file and settings with a short page wait.
struct LineRig
{
    CTempDir dir;
    CCountingSettings settings;
    std::atomic<int> nRequests{0}; // requests the recorders received
    std::unique_ptr<CLineSim> line;
    std::string strTrainFile;

    bool Start(int nTrains, int nDelayMs = 0, int nPageWaitSeconds = 1)
    {
        settings.Load(dir.File("AppSettings.xml"));
        settings.SetLong(0, "TcpWaitSeconds", nPageWaitSeconds);
        LineSimOptions options;
        options.m_nTrains = nTrains;
        options.m_nDelayMs = nDelayMs;
        line = std::make_unique<CLineSim>(options);
        line->SetRequestLog([this](const std::string&) { ++nRequests; });
        std::string strError;
        if (!line->Start(strError))
        {
            ADD_FAILURE() << strError;
            return false;
        }
        strTrainFile = dir.File("CheckTrains2.xml");
        return line->WriteTrainsFile(strTrainFile);
    }

    // The train list again with IDs of their own (IdOf), so row numbers and IDs differ.
    bool WriteRenumberedTrainsFile()
    {
        TrainMap renumbered;
        for (const auto& entry : line->MakeTrainMap())
        {
            CDataTrain train = entry.second;
            train.SetID(IdOf(entry.first));
            renumbered[train.GetID()] = train;
        }
        return SaveTrainListFile(strTrainFile, renumbered);
    }
    static int IdOf(int nSimID) { return 10 * nSimID + 3; }
};

// The echo where this process may send one; else every loopback router answers. The
// router strDead never answers.
std::function<bool(const std::string&)> LoopbackPing(const std::string& strDead)
{
    bool bReal = platform::GetPingSocketKind() != platform::PingSocketKind::kNone;
    return [bReal, strDead](const std::string& strAddress)
    {
        if (strAddress == strDead)
            return false;
        return bReal ? platform::PingHost(strAddress.c_str()) : strAddress.rfind("127.", 0) == 0;
    };
}

// A dialog whose save question answers with a path chosen by the test and whose ICMP
// availability the test sets.
class CTestDlg : public CDlgCheckTrains
{
public:
    using CDlgCheckTrains::CDlgCheckTrains;
    bool AskSaveFileName(std::string& strFileName) override
    {
        m_proposed.push_back(strFileName);
        if (m_strAnswer.empty())
            return false;
        strFileName = m_strAnswer;
        return true;
    }
    bool CanSendPing() const override { return m_bCanPing; }

    std::string m_strAnswer; // empty: the user cancels
    std::vector<std::string> m_proposed;
    bool m_bCanPing = true;
};

int RowOf(CListCtrlExView* list, int nID)
{
    return list->GetList().FindRowByData(static_cast<std::uintptr_t>(nID));
}

void ExpectRowShowsResult(CListCtrlExView* list, const LineSimTrain& train, int nID, bool bDead)
{
    int row = RowOf(list, nID);
    ASSERT_GE(row, 0) << nID;
    SCOPED_TRACE("train " + std::to_string(train.m_nID) + " (" + LineSimKindName(train.m_kind) +
                 ")");
    // The row is still the train's own: its address came with it through the sort.
    EXPECT_EQ(Cell(list, row, 3), QString::fromStdString(train.m_strAddress));
    // A router that does not answer is not probed further.
    QStringList outcomes =
        bDead ? QStringList{"X", "", ""} : QStringList{"O", "O", train.m_bRdpOpen ? "O" : "X"};
    for (int c = 4; c <= 6; ++c)
        EXPECT_EQ(Cell(list, row, c), outcomes[c - 4]) << c;
    QString errors = Cell(list, row, 7);
    if (bDead)
        EXPECT_EQ(errors, QString());
    else if (train.m_kind == LineSimKind::kRecentBlocks)
        EXPECT_TRUE(!errors.isEmpty() && !errors.contains(U("실패"))) << errors.toStdString();
    else if (train.m_kind == LineSimKind::kSilent)
        EXPECT_TRUE(errors.startsWith(U("로그 확인 실패(페이지: 1, "))) << errors.toStdString();
    else if (train.m_kind == LineSimKind::kUnauthorized)
        EXPECT_EQ(errors, U("로그 확인 실패(페이지: 1, 401)"));
    else
        EXPECT_EQ(errors, QString());
    static const QRegularExpression time("^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}$");
    EXPECT_TRUE(time.match(Cell(list, row, 8)).hasMatch()) << Cell(list, row, 8).toStdString();
}

} // namespace

TEST(LineCheckDialog, ChecksTwentyTrainsWhileSortedByPingAndEveryResultLandsInItsRow)
{
    // The silent recorders hold their checks for the 2-second page wait.
    LineRig rig;
    ASSERT_TRUE(rig.Start(20, 0, 2));
    ASSERT_TRUE(rig.WriteRenumberedTrainsFile());
    const std::vector<LineSimTrain>& trains = rig.line->Trains();
    ASSERT_EQ(trains.size(), 20u);
    const LineSimTrain& dead = trains[2];
    ASSERT_EQ(dead.m_kind, LineSimKind::kHealthy);

    CTestDlg dlg(rig.settings);
    dlg.m_strTitle = K(kTitle);
    dlg.m_strTrainFile = rig.strTrainFile;
    dlg.m_nWaitSeconds = 1;
    dlg.m_fnPing = LoopbackPing(dead.m_strAddress);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));

    // Template layout and columns.
    CDialogUnits du(dlg.font());
    EXPECT_EQ(dlg.size(), du.ToPixels(523, 256));
    CListCtrlExView* list = dlg.GetList();
    EXPECT_EQ(list->geometry(), du.ToPixels(7, 7, 509, 226));
    EXPECT_EQ(dlg.GetSaveButton()->geometry(), du.ToPixels(466, 236, 50, 14));
    EXPECT_EQ(dlg.GetSaveButton()->text(), U("저장"));
    struct ColumnCase
    {
        const char* title;
        int width;
        Qt::Alignment alignment;
    } columns[] = {{"ID", 50, Qt::AlignHCenter},           {"편성번호", 80, Qt::AlignHCenter},
                   {"방향", 80, Qt::AlignHCenter},         {"주소", 100, Qt::AlignLeft},
                   {"핑확인", 80, Qt::AlignHCenter},       {"포트확인", 80, Qt::AlignHCenter},
                   {"원격포트확인", 80, Qt::AlignHCenter}, {"녹화에러", 250, Qt::AlignLeft},
                   {"확인완료", 150, Qt::AlignLeft}};
    ASSERT_EQ(list->model()->columnCount(), 9);
    for (int c = 0; c < 9; ++c)
    {
        EXPECT_EQ(Title(list, c), U(columns[c].title)) << c;
        EXPECT_EQ(list->horizontalHeader()->sectionSize(c), columns[c].width) << c;
        auto alignment = list->model()
                             ->data(list->model()->index(0, c), Qt::TextAlignmentRole)
                             .value<Qt::Alignment>();
        EXPECT_EQ(alignment & Qt::AlignHorizontal_Mask, columns[c].alignment) << c;
    }
    EXPECT_EQ(list->rowHeight(0), 16);

    // Rows in ID order with the train's fields; nothing is served before the event loop runs.
    ASSERT_EQ(list->model()->rowCount(), 20);
    for (int r = 0; r < 20; ++r)
    {
        const int id = LineRig::IdOf(trains[r].m_nID);
        EXPECT_EQ(Cell(list, r, 0), QString::number(id));
        EXPECT_EQ(list->GetList().GetRowData(r), static_cast<std::uintptr_t>(id));
        EXPECT_EQ(Cell(list, r, 1),
                  QString::fromStdString(platform::Cp949ToUtf8(trains[r].m_strSetNumber)));
        EXPECT_EQ(Cell(list, r, 2), QString::number(trains[r].m_nDirection));
        EXPECT_EQ(Cell(list, r, 3), QString::fromStdString(trains[r].m_strAddress));
        EXPECT_EQ(Cell(list, r, 8), QString());
    }
    EXPECT_EQ(dlg.GetServedCount(), 0);
    EXPECT_TRUE(dlg.IsChecking());
    EXPECT_EQ(dlg.windowTitle(), U(kTitle) + " (0/20)");

    // The dead router's result comes at once; sorted by the ping column then, its row goes
    // to the top while the other checks still run, and every later result must still land
    // in its own train's row.
    const int deadID = LineRig::IdOf(dead.m_nID);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Cell(list, RowOf(list, deadID), 8).isEmpty(); },
                                kCheckBoundMs));
    ASSERT_TRUE(dlg.IsChecking());
    const int servedAtSort = dlg.GetServedCount();
    EXPECT_EQ(RowOf(list, deadID), 2);
    ClickTitle(list, 4);
    EXPECT_EQ(Title(list, 4), U("▼핑확인"));
    EXPECT_EQ(RowOf(list, deadID), 0);
    EXPECT_EQ(Cell(list, 0, 4), U("X"));
    QStringList numbers;
    for (int r = 1; r <= 20; ++r)
        numbers << QString::number(r);
    EXPECT_EQ(ColumnTexts(list, 0), numbers);
    EXPECT_EQ(dlg.windowTitle(), U(kTitle) + QString(" (%1/20)").arg(dlg.GetServedCount()));
    SaveScreenshot(&dlg, "line-status-during-check");

    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.GetServedCount() == 20; }, kCheckBoundMs));
    EXPECT_LT(servedAtSort, 20);
    // The page wait comes from the settings, asked anew for every log page.
    EXPECT_GE(rig.nRequests.load(), 19);
    EXPECT_GE(rig.settings.m_nWaitReads.load(), rig.nRequests.load());
    EXPECT_FALSE(dlg.IsChecking());
    EXPECT_EQ(dlg.windowTitle(), U(kTitle));
    for (const LineSimTrain& train : trains)
        ExpectRowShowsResult(list, train, LineRig::IdOf(train.m_nID), &train == &dead);
    EXPECT_EQ(ColumnTexts(list, 0), numbers);
    SaveScreenshot(&dlg, "line-status-after-check");

    // The save: the proposed name, the rows as shown, a cancel and a failure.
    CTempDir out;
    dlg.m_strAnswer = out.File("line.csv");
    QTest::mouseClick(dlg.GetSaveButton(), Qt::LeftButton);
    ASSERT_EQ(dlg.m_proposed.size(), 1u);
    EXPECT_EQ(dlg.m_proposed[0], "LineStatus");
    std::string saved = ReadFileOrEmpty(dlg.m_strAnswer);
    const std::string header =
        K("ID,편성번호,방향,주소,핑확인,포트확인,원격포트확인,녹화에러,확인완료\r\n");
    EXPECT_EQ(saved.substr(0, header.size()), header);
    std::string firstRow = ToCp949(ColumnTexts(list, 0).value(0)) + "," +
                           ToCp949(Cell(list, 0, 1)) + "," + ToCp949(Cell(list, 0, 2)) + "," +
                           ToCp949(Cell(list, 0, 3)) + ",";
    EXPECT_EQ(saved.substr(header.size(), firstRow.size()), firstRow);
    std::size_t lines = 0;
    for (std::size_t at = saved.find("\r\n"); at != std::string::npos;
         at = saved.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 21u);

    dlg.m_strAnswer.clear();
    WriteFileBytes(out.File("line.csv"), "kept");
    QTest::mouseClick(dlg.GetSaveButton(), Qt::LeftButton);
    EXPECT_EQ(ReadFileOrEmpty(out.File("line.csv")), "kept");

    dlg.m_strAnswer = out.File("no-such-folder/line.csv");
    QString boxTitle, boxText;
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    OnNextModal(
        [&](QWidget* modal)
        {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            boxTitle = box->windowTitle();
            boxText = box->text();
            boxIcon = box->icon();
            SaveScreenshot(box, "line-status-save-failed");
            box->accept();
        });
    QTest::mouseClick(dlg.GetSaveButton(), Qt::LeftButton);
    EXPECT_EQ(boxTitle, U(kTitle));
    EXPECT_EQ(boxText, U("파일을 저장하지 못했습니다."));
    EXPECT_EQ(boxIcon, QMessageBox::Critical);

    // Equal margins for the list, the button 10 pixels from the bottom-right corner.
    const int left = list->geometry().left();
    const int top = list->geometry().top();
    for (QSize size : {QSize(600, 300), QSize(1200, 700)})
    {
        dlg.resize(size);
        QTest::qWait(0);
        QRect r = list->geometry();
        EXPECT_EQ(r.topLeft(), QPoint(left, top));
        EXPECT_EQ(r.width(), size.width() - 2 * left) << size.width();
        EXPECT_EQ(r.height(), size.height() - 2 * top - 30) << size.height();
        QRect b = dlg.GetSaveButton()->geometry();
        EXPECT_EQ(b.size(), du.ToPixels(50, 14));
        EXPECT_EQ(size.width() - (b.right() + 1), 10);
        EXPECT_EQ(size.height() - (b.bottom() + 1), 10);
    }
    SaveScreenshot(&dlg, "line-status-resized");

    // Enter keeps it open; the close box closes it.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
}

TEST(LineCheckDialog, AnUnreadableTrainFileIsSaidAndTheListStaysEmpty)
{
    CTempDir dir;
    CLocalAppSettings settings;
    settings.Load(dir.File("AppSettings.xml"));
    WriteFileBytes(dir.File("empty.xml"), "");
    WriteFileBytes(dir.File("comment.xml"), "<?xml version=\"1.0\"?><!-- no trains -->");
    struct FileCase
    {
        const char* name;
        std::string path;
    } cases[] = {{"missing", dir.File("CheckTrains2.xml")},
                 {"empty", dir.File("empty.xml")},
                 {"no root element", dir.File("comment.xml")},
                 {"a folder", dir.Path()}};
    for (const FileCase& fc : cases)
    {
        SCOPED_TRACE(fc.name);
        CTestDlg dlg(settings);
        dlg.m_strTitle = K(kTitle);
        dlg.m_strTrainFile = fc.path;
        QString boxTitle, boxText;
        int boxes = 0;
        OnNextModal(
            [&](QWidget* modal)
            {
                auto* box = qobject_cast<QMessageBox*>(modal);
                ASSERT_NE(box, nullptr);
                ++boxes;
                boxTitle = box->windowTitle();
                boxText = box->text();
                if (std::string(fc.name) == "missing")
                    SaveScreenshot(box, "line-status-file-unreadable");
                box->accept();
            });
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        EXPECT_EQ(boxes, 1);
        EXPECT_EQ(boxTitle, U(kTitle));
        EXPECT_EQ(boxText, U("필요한 파일 정보를 확인할 수 없습니다."));
        EXPECT_EQ(dlg.GetList()->model()->rowCount(), 0);
        EXPECT_EQ(dlg.GetList()->model()->columnCount(), 9);
        EXPECT_FALSE(dlg.IsChecking());
        EXPECT_EQ(dlg.windowTitle(), U(kTitle));
        QTest::keyClick(dlg.GetList(), Qt::Key_Escape);
        EXPECT_FALSE(dlg.isVisible());
    }
}

TEST(LineCheckDialog, WithoutAnyIcmpSocketItSaysSoOnceBeforeTheChecksStart)
{
    LineRig rig;
    ASSERT_TRUE(rig.Start(3));
    CTestDlg dlg(rig.settings);
    dlg.m_strTitle = K(kTitle);
    dlg.m_strTrainFile = rig.strTrainFile;
    dlg.m_nWaitSeconds = 1;
    dlg.m_bCanPing = false;
    QString boxTitle, boxText;
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    bool checkingAtBox = true;
    int rowsAtBox = -1;
    OnNextModal(
        [&](QWidget* modal)
        {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            boxTitle = box->windowTitle();
            boxText = box->text();
            boxIcon = box->icon();
            checkingAtBox = dlg.IsChecking();
            rowsAtBox = dlg.GetList()->model()->rowCount();
            SaveScreenshot(box, "line-status-no-icmp");
            box->accept();
        });
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_EQ(boxTitle, U(kTitle));
    EXPECT_EQ(boxText, U("이 컴퓨터에서는 ICMP(핑)를 보낼 수 없어 핑확인을 할 수 없습니다. "
                         "핑확인 열은 X로 표시됩니다."));
    EXPECT_EQ(boxIcon, QMessageBox::Information);
    EXPECT_FALSE(checkingAtBox);
    EXPECT_EQ(rowsAtBox, 3);
    // The checks run after it, with no second message.
    bool otherModal = false;
    ASSERT_TRUE(QTest::qWaitFor(
        [&]
        {
            otherModal = otherModal || QApplication::activeModalWidget() != nullptr;
            return dlg.GetServedCount() == 3;
        },
        kCheckBoundMs));
    EXPECT_FALSE(otherModal);
    dlg.close();
}

TEST(LineCheckDialog, ClosingWhileChecksRunEndsInBoundedTimeAndDropsTrainsNotStarted)
{
    // Every recorder answers after 5 s, so no check can end before the dialog closes.
    LineRig rig;
    ASSERT_TRUE(rig.Start(20, 5000, 6));
    const std::vector<LineSimTrain>& trains = rig.line->Trains();
    std::mutex csPinged;
    std::vector<std::string> pinged; // the routers asked, in the order the checks began
    auto fnPing = LoopbackPing("");
    auto dlg = std::make_unique<CTestDlg>(rig.settings);
    dlg->m_strTitle = K(kTitle);
    dlg->m_strTrainFile = rig.strTrainFile;
    dlg->m_nWaitSeconds = 6;
    dlg->m_fnPing = [&](const std::string& strAddress)
    {
        {
            std::lock_guard<std::mutex> guard(csPinged);
            pinged.push_back(strAddress);
        }
        return fnPing(strAddress);
    };
    dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    ASSERT_TRUE(QTest::qWaitFor(
        [&]
        {
            std::lock_guard<std::mutex> guard(csPinged);
            return pinged.size() >= 8;
        },
        kCheckBoundMs));
    EXPECT_TRUE(dlg->IsChecking());
    SaveScreenshot(dlg.get(), "line-status-closing");

    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(dlg->GetList(), Qt::Key_Escape);
    qint64 closeMs = timer.elapsed();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE(dlg->IsChecking());
    // Well below the pool's 30-second bound per thread: a check ends at its next step.
    EXPECT_LT(closeMs, 25000);
    std::printf("[ info ] closing with eight checks running took %lld ms\n",
                static_cast<long long>(closeMs));
    // The eight running checks stopped without a result; the other twelve never began.
    EXPECT_EQ(dlg->GetServedCount(), 0);
    {
        std::lock_guard<std::mutex> guard(csPinged);
        std::set<std::string> first8, asked(pinged.begin(), pinged.end());
        for (std::size_t i = 0; i < 8; ++i)
            first8.insert(trains[i].m_strAddress);
        EXPECT_EQ(pinged.size(), 8u);
        EXPECT_EQ(asked, first8);
    }
    CListCtrlExView* list = dlg->GetList();
    for (const LineSimTrain& train : trains)
        EXPECT_EQ(Cell(list, RowOf(list, train.m_nID), 8), QString()) << train.m_nID;
    dlg.reset();
}

TEST(LineCheckDialog, TheMainDialogsButtonOpensItModallyAndStoresTheFieldsAfterwards)
{
    LineRig rig;
    ASSERT_TRUE(rig.Start(3));
    rig.settings.SetLong(0, "TcpWaitSeconds", 2);
    CKelmoraDlg main(rig.settings, nullptr, nullptr, rig.strTrainFile);
    main.show();
    main.GetEdit(1003)->setText(QStringLiteral("8123"));

    QString title;
    std::string trainFile;
    int waitSeconds = 0, rows = 0, served = 0;
    bool waitCursor = true, modal = false;
    std::function<void(QWidget*)> onModal = [&](QWidget* pModal)
    {
        // Where no ICMP socket may be opened the dialog says so first.
        if (auto* box = qobject_cast<QMessageBox*>(pModal))
        {
            box->accept();
            OnNextModal(onModal);
            return;
        }
        auto* dlg = qobject_cast<CDlgCheckTrains*>(pModal);
        ASSERT_NE(dlg, nullptr);
        modal = dlg->isModal() && dlg->parentWidget() == &main;
        waitCursor = QApplication::overrideCursor() != nullptr;
        trainFile = dlg->m_strTrainFile;
        waitSeconds = dlg->m_nWaitSeconds;
        rows = dlg->GetList()->model()->rowCount();
        EXPECT_TRUE(QTest::qWaitFor([&] { return dlg->GetServedCount() == 3; }, kCheckBoundMs));
        served = dlg->GetServedCount();
        title = dlg->windowTitle();
        dlg->reject();
    };
    OnNextModal(onModal);
    QTest::mouseClick(main.GetButton(1014), Qt::LeftButton);
    EXPECT_TRUE(modal);
    EXPECT_FALSE(waitCursor);
    EXPECT_EQ(trainFile, rig.strTrainFile);
    EXPECT_EQ(waitSeconds, 2);
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(served, 3);
    EXPECT_EQ(title, U(kTitle));
    EXPECT_EQ(rig.settings.GetString(0, "VornPort", ""), "8123");
}
