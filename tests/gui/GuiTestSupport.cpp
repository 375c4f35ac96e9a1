#include "GuiTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <memory>

void SaveScreenshot(QWidget* pWidget, const QString& name)
{
    const char* dir = std::getenv("KELMORA_SCREENSHOT_DIR");
    if (dir == nullptr || *dir == '\0')
        return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    pWidget->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(name + ".png"));
}

void OnNextModal(std::function<void(QWidget*)> fn)
{
    // Poll the event loop that exec() runs until the modal window is there.
    auto* timer = new QTimer;
    auto callback = std::make_shared<std::function<void(QWidget*)>>(std::move(fn));
    QObject::connect(timer, &QTimer::timeout,
                     [timer, callback]()
                     {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (modal == nullptr || !modal->isVisible())
                             return;
                         timer->stop();
                         timer->deleteLater();
                         (*callback)(modal);
                     });
    timer->start(10);
}
