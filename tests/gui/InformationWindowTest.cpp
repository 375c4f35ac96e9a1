#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTest>

#include "GuiTestSupport.h"
#include "gui/DialogUnits.h"
#include "gui/DlgGeneralInformation.h"
#include "platform/Codepage.h"

TEST(InformationWindow, CaptionTextAndEqualMarginsWhenResized)
{
    CDlgGeneralInformation dlg;
    dlg.m_strTitle = platform::Utf8ToCp949("시스템 정보 - 127.0.0.1");
    dlg.m_strText = platform::Utf8ToCp949("<Info>\r\n<Name>전동차 1호</Name>\n</Info>\n");
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8("시스템 정보 - 127.0.0.1"));
    EXPECT_EQ(dlg.GetEdit()->toPlainText(),
              QString::fromUtf8("<Info>\n<Name>전동차 1호</Name>\n</Info>\n"));
    EXPECT_FALSE(dlg.GetEdit()->isReadOnly());
    CDialogUnits du(dlg.font());
    QRect initial = dlg.GetEdit()->geometry();
    EXPECT_EQ(initial, du.ToPixels(7, 7, 325, 295));
    SaveScreenshot(&dlg, "information-window");

    for (QSize size : {QSize(300, 200), QSize(900, 700)})
    {
        dlg.resize(size);
        QTest::qWait(0);
        QRect r = dlg.GetEdit()->geometry();
        EXPECT_EQ(r.left(), initial.left());
        EXPECT_EQ(r.top(), initial.top());
        EXPECT_EQ(dlg.width() - r.right() - 1, initial.left()) << size.width();
        EXPECT_EQ(dlg.height() - r.bottom() - 1, initial.top()) << size.height();
    }
}

TEST(InformationWindow, EnterKeepsItOpenAndEscapeCloses)
{
    CDlgGeneralInformation dlg;
    dlg.m_strText = "line";
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.GetEdit()->setFocus();
    QTest::keyClick(dlg.GetEdit(), Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.GetEdit()->toPlainText(), QString("line")); // Enter added no line either
    QTest::keyClick(dlg.GetEdit(), Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
}
