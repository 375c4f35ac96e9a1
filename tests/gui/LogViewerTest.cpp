// The log viewer: template layout, columns and rows, resize rules, title clicks, copying,
// saving through a stubbed and through the real save question, and a 20,000-entry log
// opened from the main dialog's button.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <map>

#include "GuiTestSupport.h"
#include "ListViewTestSupport.h"
#include "gui/DialogUnits.h"
#include "gui/DlgLogViewer.h"
#include "gui/KelmoraDlg.h"
#include "gui/ListCtrlExView.h"
#include "platform/Codepage.h"
#include "settings/LocalAppSettings.h"
#include "support/LogPageBuilder.h"
#include "support/TempDir.h"
#include "support/TestHttpServer.h"

namespace
{

LogRecord Record(int index, const char* date, const char* time, const char* category,
                 const char* content, const char* comment = "")
{
    LogRecord r;
    r.m_nIndex = index;
    r.m_strDate = date;
    r.m_strTime = time;
    r.m_strCategory = K(category);
    r.m_strContent = K(content);
    r.m_strComment = K(comment);
    return r;
}

LogRecordMap SampleRecords()
{
    LogRecordMap records;
    const LogRecord list[] = {
        Record(4, "2024-06-02", "09:30:00", "녹화", "Record Block ch3", "카메라 3 점검"),
        Record(1, "2024-06-03", "08:00:00", "시스템", "부팅 완료"),
        Record(3, "2024-06-01", "23:59:59", "네트워크", "링크 끊김, 재연결", "LTE"),
        Record(2, "2024-06-04", "12:00:00", "시스템", "설정 변경 50%"),
    };
    for (const LogRecord& r : list)
        AddLogRecord(records, r);
    return records;
}

// A viewer whose save question answers with a path chosen by the test.
class CStubbedViewer : public CDlgLogViewer
{
public:
    bool AskSaveFileName(std::string& strFileName) override
    {
        m_proposed.push_back(strFileName);
        if (m_strAnswer.empty())
            return false;
        strFileName = m_strAnswer;
        return true;
    }
    std::string m_strAnswer; // empty: the user cancels
    std::vector<std::string> m_proposed;
};

// A viewer that lets the test call the real save question.
class COpenViewer : public CDlgLogViewer
{
public:
    using CDlgLogViewer::AskSaveFileName;
};

void ClickRow(CListCtrlExView* list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QRect cell = list->visualRect(list->model()->index(row, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, cell.center());
}

} // namespace

TEST(LogViewer, OpensWithTheTemplateColumnsAndAscendingRowsAndKeepsItsMarginsWhenResized)
{
    CDlgLogViewer dlg;
    dlg.m_strTitle = K("시스템 로그 - 127.0.0.1");
    dlg.m_mapRecords = SampleRecords();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_EQ(dlg.windowTitle(), U("시스템 로그 - 127.0.0.1"));
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
    } columns[] = {{"ID", 50, Qt::AlignHCenter},   {"날짜", 80, Qt::AlignHCenter},
                   {"시간", 80, Qt::AlignHCenter}, {"종류", 80, Qt::AlignHCenter},
                   {"내용", 200, Qt::AlignLeft},   {"비고", 250, Qt::AlignLeft}};
    ASSERT_EQ(list->model()->columnCount(), 6);
    for (int c = 0; c < 6; ++c)
    {
        EXPECT_EQ(Title(list, c), U(columns[c].title)) << c;
        EXPECT_EQ(list->horizontalHeader()->sectionSize(c), columns[c].width) << c;
        auto alignment = list->model()
                             ->data(list->model()->index(0, c), Qt::TextAlignmentRole)
                             .value<Qt::Alignment>();
        EXPECT_EQ(alignment & Qt::AlignHorizontal_Mask, columns[c].alignment) << c;
    }
    EXPECT_EQ(ColumnTexts(list, 0), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(Cell(list, 2, 4), U("링크 끊김, 재연결"));
    EXPECT_EQ(Cell(list, 3, 5), U("카메라 3 점검"));
    EXPECT_EQ(list->GetList().GetRowData(2), 3u);
    EXPECT_EQ(list->rowHeight(0), 16);
    SaveScreenshot(&dlg, "log-viewer");

    const int left = list->geometry().left();
    const int top = list->geometry().top();
    for (QSize size : {QSize(500, 300), QSize(1100, 700)})
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
    SaveScreenshot(&dlg, "log-viewer-resized");

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
}

TEST(LogViewer, SortByDateTwiceCopyTheSelectionAndSave)
{
    CTempDir dir;
    CStubbedViewer dlg;
    dlg.m_strTitle = K("시스템 로그 - 127.0.0.1");
    dlg.m_mapRecords = SampleRecords();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    CListCtrlExView* list = dlg.GetList();

    ClickTitle(list, 1);
    EXPECT_EQ(ColumnTexts(list, 1),
              (QStringList{"2024-06-04", "2024-06-03", "2024-06-02", "2024-06-01"}));
    EXPECT_EQ(Title(list, 1), U("▼날짜"));
    ClickTitle(list, 1);
    EXPECT_EQ(ColumnTexts(list, 1),
              (QStringList{"2024-06-01", "2024-06-02", "2024-06-03", "2024-06-04"}));
    EXPECT_EQ(Title(list, 1), U("▲날짜"));
    // The ID column now numbers the rows.
    EXPECT_EQ(ColumnTexts(list, 0), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(list->GetList().GetRowData(0), 3u);
    SaveScreenshot(&dlg, "log-viewer-sorted-by-date");

    ClickRow(list, 0);
    ClickRow(list, 2, Qt::ControlModifier);
    SaveScreenshot(&dlg, "log-viewer-selected");
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              U("1,2024-06-01,23:59:59,네트워크,\"링크 끊김, 재연결\",LTE\r\n"
                "3,2024-06-03,08:00:00,시스템,부팅 완료,\r\n"));

    const std::string path = dir.File("saved.csv");
    dlg.m_strAnswer = path;
    QTest::mouseClick(dlg.GetSaveButton(), Qt::LeftButton);
    ASSERT_EQ(dlg.m_proposed.size(), 1u);
    EXPECT_EQ(dlg.m_proposed[0], "VORNSystemLog");
    // Titles without the arrow, rows in the sorted order, CP949 bytes.
    EXPECT_EQ(ReadFileOrEmpty(path),
              K("ID,날짜,시간,종류,내용,비고\r\n"
                "1,2024-06-01,23:59:59,네트워크,\"링크 끊김, 재연결\",LTE\r\n"
                "2,2024-06-02,09:30:00,녹화,Record Block ch3,카메라 3 점검\r\n"
                "3,2024-06-03,08:00:00,시스템,부팅 완료,\r\n"
                "4,2024-06-04,12:00:00,시스템,설정 변경 50%,\r\n"));

    // Cancelled: nothing is written.
    dlg.m_strAnswer.clear();
    WriteFileBytes(path, "kept");
    QTest::mouseClick(dlg.GetSaveButton(), Qt::LeftButton);
    EXPECT_EQ(ReadFileOrEmpty(path), "kept");

    // A save that fails is said.
    dlg.m_strAnswer = dir.File("no-such-folder/saved.csv");
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
            SaveScreenshot(box, "log-viewer-save-failed");
            box->accept();
        });
    QTest::mouseClick(dlg.GetSaveButton(), Qt::LeftButton);
    EXPECT_EQ(boxTitle, U("시스템 로그"));
    EXPECT_EQ(boxText, U("파일을 저장하지 못했습니다."));
    EXPECT_EQ(boxIcon, QMessageBox::Critical);
    EXPECT_TRUE(dlg.isVisible());
}

TEST(LogViewer, TheSaveQuestionIsASaveDialogForCsvWithoutOverwritePrompt)
{
    CTempDir dir;
    COpenViewer dlg;
    for (bool accept : {true, false})
    {
        bool checked = false;
        OnNextModal(
            [&](QWidget* modal)
            {
                auto* fd = qobject_cast<QFileDialog*>(modal);
                ASSERT_NE(fd, nullptr);
                EXPECT_EQ(fd->parentWidget(), nullptr);
                EXPECT_EQ(fd->acceptMode(), QFileDialog::AcceptSave);
                EXPECT_EQ(fd->defaultSuffix(), QString("csv"));
                EXPECT_EQ(fd->nameFilters(), QStringList{"CSV Files (*.csv)"});
                EXPECT_TRUE(fd->testOption(QFileDialog::DontConfirmOverwrite));
                EXPECT_TRUE(fd->selectedFiles().value(0).contains("VORNSystemLog"))
                    << fd->selectedFiles().value(0).toStdString();
                checked = true;
                if (!accept)
                {
                    fd->reject();
                    return;
                }
                SaveScreenshot(fd, "log-viewer-save-dialog");
                fd->setDirectory(QString::fromStdString(dir.Path()));
                fd->selectFile(QStringLiteral("picked"));
                static_cast<QDialog*>(fd)->accept(); // QFileDialog::accept checks the name
            });
        std::string name = "VORNSystemLog";
        bool answered = dlg.AskSaveFileName(name);
        EXPECT_TRUE(checked);
        EXPECT_EQ(answered, accept);
        if (accept)
            EXPECT_EQ(name, dir.File("picked.csv"));
        else
            EXPECT_EQ(name, "VORNSystemLog");
    }
}

TEST(LogViewer, TwentyThousandEntriesFromTheMainDialogOpenAndSort)
{
    // 40 pages of 500 entries, newest first, as a recorder with a full log sends them.
    const int kPages = 40, kPerPage = 500;
    CTestHttpServer server;
    ASSERT_TRUE(server.Start());
    std::map<int, std::string> pages;
    for (int p = 1; p <= kPages; ++p)
    {
        std::vector<LogItemFields> items;
        for (int i = 0; i < kPerPage; ++i)
        {
            int index = (kPages - p + 1) * kPerPage - i;
            char date[16], content[64];
            std::snprintf(date, sizeof date, "2024-%02d-%02d", index % 12 + 1, index % 28 + 1);
            std::snprintf(content, sizeof content, "Event %05d", (index * 7919) % 20000);
            items.push_back(LogItemFields{std::to_string(index), date, "10:00:00",
                                          K(index % 3 ? "시스템" : "녹화"), content, ""});
        }
        pages[p] = MakeLogPageXml(p == 1 ? std::to_string(kPages) : "", items);
    }
    server.SetHandler(
        [&](const TestHttpRequest& request)
        {
            int page = std::atoi(request.strTarget.c_str() + request.strTarget.find("page=") + 5);
            auto found = pages.find(page);
            return found == pages.end() ? TestHttpAnswer::Page(404, "")
                                        : TestHttpAnswer::Page(200, found->second);
        });

    CTempDir dir;
    CLocalAppSettings settings;
    settings.Load(dir.File("AppSettings.xml"));
    CKelmoraDlg main(settings);
    main.show();
    main.GetEdit(1003)->setText(QString::number(server.Port()));

    int rows = 0;
    QString title, firstAfterSort, lastAfterSort;
    bool arrowCursor = false;
    qint64 sortMs = -1;
    OnNextModal(
        [&](QWidget* modal)
        {
            auto* viewer = qobject_cast<CDlgLogViewer*>(modal);
            ASSERT_NE(viewer, nullptr);
            arrowCursor = QApplication::overrideCursor() != nullptr &&
                          QApplication::overrideCursor()->shape() == Qt::ArrowCursor;
            title = viewer->windowTitle();
            CListCtrlExView* list = viewer->GetList();
            rows = list->model()->rowCount();
            QElapsedTimer timer;
            timer.start();
            ClickTitle(list, 4); // 내용, descending
            QTest::qWait(0);
            sortMs = timer.elapsed();
            firstAfterSort = Cell(list, 0, 4);
            lastAfterSort = Cell(list, rows - 1, 4);
            SaveScreenshot(viewer, "log-viewer-20000-sorted-by-content");
            viewer->reject();
        });
    QTest::mouseClick(main.GetButton(1009), Qt::LeftButton);
    EXPECT_EQ(static_cast<int>(server.Requests().size()), kPages);
    EXPECT_EQ(rows, kPages * kPerPage);
    EXPECT_EQ(title, U("시스템 로그 - 127.0.0.1"));
    EXPECT_TRUE(arrowCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(firstAfterSort, QString("Event 19999"));
    EXPECT_EQ(lastAfterSort, QString("Event 00000"));
    EXPECT_EQ(settings.GetString(0, "VornPort", ""), std::to_string(server.Port()));
    std::printf("[ info ] sorting 20000 rows by a text column took %lld ms\n",
                static_cast<long long>(sortMs));
}
