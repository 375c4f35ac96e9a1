#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "GuiTestSupport.h"
#include "gui/AboutDlg.h"
#include "gui/DialogUnits.h"
#include "gui/KelmoraDlg.h"
#include "gui/QtUserInterface.h"
#include "platform/Codepage.h"
#include "settings/LocalAppSettings.h"
#include "support/LoopbackListener.h"
#include "support/RecordingUserInterface.h"
#include "support/TempDir.h"

namespace
{
QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}
} // namespace

TEST(MainDialog, OpensWithDefaultsAndTheTemplateLayout)
{
    CTempDir dir;
    CLocalAppSettings settings;
    settings.Load(dir.File("AppSettings.xml")); // no file yet: every field at its default
    CKelmoraDlg dlg(settings);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_EQ(dlg.windowTitle(), U("Kelmora"));
    EXPECT_EQ(dlg.GetEdit(1001)->text(), U("127.0.0.1"));
    EXPECT_EQ(dlg.GetEdit(1003)->text(), U("8080"));
    EXPECT_EQ(dlg.GetEdit(1005)->text(), U("admin"));
    EXPECT_EQ(dlg.GetEdit(1007)->text(), U("!wbnqzmtpxv38"));
    EXPECT_EQ(dlg.GetEdit(1007)->echoMode(), QLineEdit::Password);

    struct ButtonCase
    {
        int id;
        const char* caption;
        int x, y;
    } buttons[] = {{1008, "연결확인", 307, 35},
                   {1010, "시스템 정보", 7, 61},
                   {1012, "녹화 에러 확인", 60, 61},
                   {1009, "시스템 로그", 113, 61},
                   {1014, "2호선확인", 166, 61}};
    CDialogUnits du(dlg.font());
    for (const ButtonCase& b : buttons)
    {
        QPushButton* button = dlg.GetButton(b.id);
        ASSERT_NE(button, nullptr) << b.id;
        EXPECT_EQ(button->text(), U(b.caption));
        EXPECT_EQ(button->geometry(), du.ToPixels(b.x, b.y, 50, 14)) << b.id;
        EXPECT_FALSE(button->isDefault()) << b.id;
    }
    EXPECT_EQ(dlg.size(), du.ToPixels(375, 82));
    EXPECT_EQ(dlg.GetEdit(1003)->geometry(), du.ToPixels(217, 19, 48, 14));

    // Tab order follows the template: address, port, user, password, then the buttons.
    dlg.GetEdit(1001)->setFocus();
    QWidget* expected[] = {dlg.GetEdit(1003), dlg.GetEdit(1005), dlg.GetEdit(1007),
                           dlg.GetButton(1008), dlg.GetButton(1010)};
    QWidget* w = dlg.GetEdit(1001);
    for (QWidget* next : expected)
    {
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus)
            w = w->nextInFocusChain();
        EXPECT_EQ(w, next);
    }
    SaveScreenshot(&dlg, "main-dialog");
}

TEST(MainDialog, PortFieldTakesDigitsOnlyWithoutRangeLimit)
{
    CLocalAppSettings settings;
    CKelmoraDlg dlg(settings);
    QLineEdit* port = dlg.GetEdit(1003);
    port->clear();
    QTest::keyClicks(port, "7a0-0.00");
    EXPECT_EQ(port->text(), U("70000"));
}

TEST(MainDialog, EmptyPortFailsAtOnceAndIsStoredAsZero)
{
    CLocalAppSettings settings;
    CRecordingUserInterface ui;
    CKelmoraDlg dlg(settings, &ui);
    dlg.show();
    dlg.GetEdit(1003)->clear();
    QTest::mouseClick(dlg.GetButton(1008), Qt::LeftButton);
    ASSERT_EQ(ui.m_messages.size(), 1u);
    EXPECT_EQ(ui.m_messages[0].strText, platform::Utf8ToCp949("연결에 실패하였습니다."));
    EXPECT_EQ(ui.m_messages[0].strCaption, platform::Utf8ToCp949("연결성 테스트"));
    EXPECT_EQ(ui.m_messages[0].icon, MessageIcon::kError);
    EXPECT_EQ(settings.GetString(0, "VornPort", "?"), "0");
    EXPECT_EQ(settings.GetVornAddress(), "127.0.0.1");
}

TEST(MainDialog, ConnectionTestShowsTheRealMessageBox)
{
    CLoopbackListener listener;
    CLocalAppSettings settings;
    CKelmoraDlg dlg(settings);
    dlg.show();
    dlg.GetEdit(1003)->setText(QString::number(listener.Port()));
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    OnNextModal(
        [&](QWidget* modal)
        {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            SaveScreenshot(box, "connection-test-succeeded");
            box->accept();
        });
    QTest::mouseClick(dlg.GetButton(1008), Qt::LeftButton);
    EXPECT_EQ(title, U("연결성 테스트"));
    EXPECT_EQ(text, U("연결에 성공하였습니다."));
    EXPECT_EQ(icon, QMessageBox::Information);
}

TEST(MainDialog, EnterKeepsItOpenAndEscapeCloses)
{
    CLocalAppSettings settings;
    CRecordingUserInterface ui;
    CKelmoraDlg dlg(settings, &ui);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.GetEdit(1001)->setFocus();
    QTest::keyClick(dlg.GetEdit(1001), Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(ui.m_messages.empty()); // no button was pressed by Enter
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST(MainDialog, ContextMenuOpensTheAboutBox)
{
    CLocalAppSettings settings;
    CKelmoraDlg dlg(settings);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QString menuText, aboutTitle;
    // The menu is a popup, not a modal window: it is found once its exec() runs.
    QTimer::singleShot(50,
                       [&]()
                       {
                           auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                           ASSERT_NE(menu, nullptr);
                           ASSERT_EQ(menu->actions().size(), 1);
                           menuText = menu->actions()[0]->text();
                           OnNextModal(
                               [&](QWidget* modal)
                               {
                                   aboutTitle = modal->windowTitle();
                                   SaveScreenshot(modal, "about-box");
                                   static_cast<QDialog*>(modal)->accept();
                               });
                           menu->actions()[0]->trigger();
                           menu->close();
                       });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dlg.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&dlg, &event);
    QTest::qWait(0);
    EXPECT_EQ(menuText, U("Kelmora 정보(&A)..."));
    EXPECT_EQ(aboutTitle, U("Kelmora 정보"));
}

TEST(MainDialog, MessageBoxScreenshots)
{
    // The failure box as the user sees it.
    std::unique_ptr<QMessageBox> box(
        CreateMessageBox(nullptr, platform::Utf8ToCp949("연결에 실패하였습니다."),
                         platform::Utf8ToCp949("연결성 테스트"), MessageIcon::kError));
    box->show();
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->buttons().size(), 1);
    SaveScreenshot(box.get(), "connection-test-failed");
}
