// The main dialog's recorder commands against a simulated recorder, through the real
// message boxes and windows.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "GuiTestSupport.h"
#include "RecorderSim.h"
#include "gui/DlgGeneralInformation.h"
#include "gui/KelmoraDlg.h"
#include "settings/LocalAppSettings.h"

namespace
{

struct CSimRig
{
    explicit CSimRig(RecorderSimOptions options) : sim(options)
    {
        std::string error;
        bStarted = sim.Start(error);
        settings.SetLong(0, "TcpWaitSeconds", 2);
    }
    CRecorderSim sim;
    bool bStarted = false;
    CLocalAppSettings settings;
};

} // namespace

TEST(RecorderWindows, InformationAndRecordingErrorsOpenTheTextWindow)
{
    RecorderSimOptions options;
    options.m_nPages = 2;
    options.m_nItemsPerPage = 10;
    options.m_nBlockEvery = 4;
    CSimRig rig(options);
    ASSERT_TRUE(rig.bStarted);
    CKelmoraDlg dlg(rig.settings);
    dlg.show();
    dlg.GetEdit(1003)->setText(QString::number(rig.sim.Port()));

    struct Case
    {
        int button;
        const char* title;
        const char* fragment;
        const char* shot;
    } cases[] = {
        {1010, "시스템 정보 - 127.0.0.1", "<Name>KELMORA-SIM</Name>", "information-from-recorder"},
        {1012, "녹화 에러 확인 - 127.0.0.1", rig.sim.Entries()[3].m_strDate.c_str(),
         "recording-errors-result"},
    };
    for (const Case& c : cases)
    {
        QString title, text;
        OnNextModal(
            [&](QWidget* modal)
            {
                auto* window = qobject_cast<CDlgGeneralInformation*>(modal);
                ASSERT_NE(window, nullptr) << c.button;
                title = window->windowTitle();
                text = window->GetEdit()->toPlainText();
                SaveScreenshot(window, c.shot);
                window->reject();
            });
        QTest::mouseClick(dlg.GetButton(c.button), Qt::LeftButton);
        EXPECT_EQ(title, QString::fromUtf8(c.title));
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.fragment))) << text.toStdString();
    }
    // Both commands stored the fields once they were done.
    EXPECT_EQ(rig.settings.GetLong(0, "VornPort", 0), rig.sim.Port());
}
