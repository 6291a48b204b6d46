// Sifmora: the start-up window runs the start road, then the main window takes over.
#include "common/appstate.h"
#include "dialogs/workbenchapi.h"
#include "history/windows/drawentrywindow.h"
#include "history/windows/settingswindow.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/trayicon.h"
#include "platform/closerequest.h"
#include "platform/translations.h"
#include "smart/smartsystemwindow.h"
#include "startup/startupwindow.h"
#include "workbench/workbench.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sifmora"));
    platform::InstallQtTranslations(&app);
    QApplication::setWindowIcon(mainwindow::AppIcon());
    // The main window hides while the workbench is open and may be hidden from the tray; the
    // program ends only through the main window's closing path.
    QApplication::setQuitOnLastWindowClosed(false);

    MainWindow::openers().workbench = [] { workbench::ShowWorkbench(MainWindow::instance(), common::App()); };
    workbench::SetMainWindowLink({
        [] { if (MainWindow* main = MainWindow::instance()) main->workbenchClosed(); },
    });
    // The smart system is given the run's state and the open workbench; the opener owns it.
    SmartSystemOpener smartSystem({&common::App(), [] { return dialogs::Workbench(); }});
    workbench::SetSmartSystemOpener([&smartSystem](QWidget*) { smartSystem.open(); });

    // Modal over the main window, which reloads and rebuilds after them itself.
    MainWindow::openers().drawEntry = [](QWidget* parent) { history::OpenDrawEntry(parent, common::App()); };
    MainWindow::openers().settings = [](QWidget* parent) {
        history::OpenSettings(parent, common::App(), [](bool toP3) {
            if (MainWindow* main = MainWindow::instance()) main->switchLottery(toP3);
        });
    };

    StartupWindow startupWindow;
    const QString instanceName = qEnvironmentVariable("SIFMORA_INSTANCE_NAME");
    if (!instanceName.isEmpty()) startupWindow.instanceName = instanceName;
    // A start measurement (bench/) asks the program to say when its main window stands and end.
    const bool startProbe = qEnvironmentVariableIsSet("SIFMORA_START_PROBE");
    startupWindow.hooks.showMainWindow = [startProbe] {
        MainWindow::ShowMainWindow(common::App());
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
    startupWindow.instance()->onCloseRequest = [&startupWindow] {
        if (MainWindow* main = MainWindow::instance()) return main->close();
        startupWindow.abortStart();
        return true;
    };
    startupWindow.show();
    const int rc = app.exec();
    workbench::DestroyWorkbench();
    delete MainWindow::instance();
    return rc;
}
