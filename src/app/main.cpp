// Sifmora: the start-up window runs the start road, then the main window takes over.
#include "app/programwindows.h"
#include "common/appstate.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/trayicon.h"
#include "platform/closerequest.h"
#include "platform/translations.h"
#include "startup/startupwindow.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sifmora"));
    platform::UseChineseLocale();
    platform::InstallQtTranslations(&app);
    QApplication::setWindowIcon(mainwindow::AppIcon());
    // The main window hides while the workbench is open and may be hidden from the tray; the
    // program ends only through the main window's closing path.
    QApplication::setQuitOnLastWindowClosed(false);

    // The one state of the run, handed to the windows from here.
    common::AppState& state = common::App();
    app::ProgramWindows windows(state);

    StartupWindow startupWindow;
    const QString instanceName = qEnvironmentVariable("SIFMORA_INSTANCE_NAME");
    if (!instanceName.isEmpty()) startupWindow.instanceName = instanceName;
    // A start measurement (bench/) asks the program to say when its main window stands and end.
    const bool startProbe = qEnvironmentVariableIsSet("SIFMORA_START_PROBE");
    startupWindow.hooks.showMainWindow = [&windows, startProbe] {
        windows.showMainWindow();
        if (startProbe)
            QTimer::singleShot(0, qApp, [] {
                std::fputs("main window shown\n", stderr);
                std::fflush(stderr);
                QCoreApplication::exit(0);
            });
    };
    // Another copy runs (end at once, silently) or the lock could not be made (said already).
    if (!startupWindow.Form_Load()) return startupWindow.lockError().isEmpty() ? 0 : 1;
    // A close request (the updater) runs the main window's closing path, or stops the start.
    startupWindow.instance()->onCloseRequest = [&startupWindow, &windows] {
        if (MainWindow* main = windows.mainWindow()) return main->close();
        startupWindow.abortStart();
        return true;
    };
    startupWindow.show();
    return app.exec();  // the windows go with `windows`, the workbench first
}
