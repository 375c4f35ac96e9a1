// Kelmora: the desktop program.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/KelmoraApp.h"
#include "gui/KelmoraDlg.h"

static bool HasDisplay()
{
    auto set = [](const char* name)
    {
        const char* v = std::getenv(name);
        return v != nullptr && *v != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

int main(int argc, char** argv)
{
    if (!HasDisplay())
    {
        std::fprintf(stderr,
                     "kelmora: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                     "  Run it offscreen:      QT_QPA_PLATFORM=offscreen %s\n"
                     "  or use the terminal:   kelmora-cli --help\n",
                     argv[0]);
        return 1;
    }
    // The settings are built before anything else and write their file once more at exit.
    CKelmoraApp app;
    QApplication qapp(argc, argv);
    app.InitInstance();
    CKelmoraDlg dlg(app.m_settings, nullptr, nullptr, app.GetTrainListFilePath());
    dlg.show();
    dlg.exec();
    return 0;
}
