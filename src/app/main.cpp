// Sifmora: the start-up window runs the start road, then the main window takes over.
#include "app/endrun.h"
#include "app/programwindows.h"
#include "common/appstate.h"
#include "common/settings.h"
#include "common/workprogress.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/trayicon.h"
#include "platform/closerequest.h"
#include "platform/translations.h"
#include "platform/ui/settingsnotice.h"
#include "startup/startupwindow.h"
#include "workbench/workbenchwindow.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    // Before any thread: under an address-space limit threads take little of it.
    common::FitThreadsToAddressSpace();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sifmora"));
    platform::UseChineseLocale();
    platform::InstallQtTranslations(&app);
    ui::SaySettingsSaveFailures();
    QApplication::setWindowIcon(mainwindow::AppIcon());
    // The main window hides while the workbench is open and may be hidden from the tray; the
    // program ends only through the main window's closing path.
    QApplication::setQuitOnLastWindowClosed(false);

    // Settings a save had to keep in the run (another program held the file) get one last try
    // once every window is gone, without a box.
    const struct SettingsAtTheEnd {
        ~SettingsAtTheEnd() {
            common::SetSettingsSaveNotice(nullptr);
            common::SavePendingSettings();
        }
    } settingsAtTheEnd;
    // The one state of the run, owned here and handed to the windows; it outlives them.
    common::AppState state;
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
    if (!startupWindow.prepareStart()) return startupWindow.lockError().isEmpty() ? 0 : 1;
    platform::SingleInstance* instance = startupWindow.instance();
    // A program folder that cannot be written keeps the lock in the user's own folder: recorded.
    if (!instance->note().isEmpty()) std::fprintf(stderr, "%s\n", instance->note().toUtf8().constData());
    // A desktop's log-out and the program's own quits end the run as a close request does.
    app::EndRunOnQuit(state, [&windows] { return windows.mainWindow(); });
    // A close request (the updater, before it swaps the program) ends the run from any state:
    // the start stops, or the main window's closing path runs and every window and loop ends;
    // a window thread that does not get there is ended after the grace time.
    app::EndRunOnCloseRequest(*instance, state, [&windows] { return windows.mainWindow(); },
                              [&startupWindow, &windows] {
                                  if (!windows.mainWindow()) startupWindow.abortStart();
                              });
    // A second start on this program folder ended beside this copy: the window in front shows.
    instance->onShowRequest = [&windows, &state] {
        if (state.quitting()) return;
        QWidget* front = QApplication::activeModalWidget();
        if (!front && windows.workbench() && windows.workbench()->isVisible()) front = windows.workbench();
        if (!front && windows.mainWindow()) windows.mainWindow()->present();
        if (!front) return;
        front->raise();
        front->activateWindow();
    };
    startupWindow.show();
    return app.exec();  // the windows go with `windows`, the workbench first
}
