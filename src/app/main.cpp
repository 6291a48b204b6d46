// Sifmora: the start-up window runs the start road, then the main window takes over.
#include "mainwindow/form1.h"
#include "mainwindow/trayicon.h"
#include "platform/closerequest.h"
#include "startup/form22.h"

#ifdef SIFMORA_HAS_WORKBENCH
#include "workbench/workbench.h"
#endif
#ifdef SIFMORA_HAS_SMART
#include "smart/form15.h"
#endif
#ifdef SIFMORA_HAS_HISTORY_WINDOWS
#include "history/windows/form3.h"
#include "history/windows/form9.h"
#endif

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sifmora"));
    QApplication::setWindowIcon(mainwindow::AppIcon());
    // The main window hides while the workbench is open and may be hidden from the tray; the
    // program ends only through the main window's closing path.
    QApplication::setQuitOnLastWindowClosed(false);

#ifdef SIFMORA_HAS_WORKBENCH
    Form1::openers().workbench = [] { workbench::ShowWorkbench(Form1::instance()); };
    workbench::SetMainWindowLink({
        [] { if (Form1* main = Form1::instance()) main->WorkbenchClosed(); },
        [] { if (Form1* main = Form1::instance()) main->LotteryChangedElsewhere(); },
    });
#ifdef SIFMORA_HAS_SMART
    workbench::SetSmartSystemOpener([](QWidget* bench) { Form15::Open(bench); });
#endif
#endif

#ifdef SIFMORA_HAS_HISTORY_WINDOWS
    // Modal over the main window, which reloads and rebuilds after them itself.
    Form1::openers().drawEntry = [](QWidget* parent) { history::OpenDrawEntry(parent); };
    Form1::openers().settings = [](QWidget* parent) {
        history::OpenSettings(parent, [](bool toP3) {
            if (Form1* main = Form1::instance()) toP3 ? main->p3_Click() : main->fc3d_Click();
        });
    };
#endif

    Form22 form22;
    const QString instanceName = qEnvironmentVariable("SIFMORA_INSTANCE_NAME");
    if (!instanceName.isEmpty()) form22.instanceName = instanceName;
    form22.hooks.showMainWindow = [] { Form1::ShowMainWindow(); };
    if (!form22.Form_Load()) return 0;  // another copy runs: end at once, silently
    // A close request (the updater) runs the main window's closing path, or stops the start.
    form22.instance()->onCloseRequest = [&form22] {
        if (Form1* main = Form1::instance()) return main->close();
        form22.abortStart();
        return true;
    };
    form22.show();
    const int rc = app.exec();
#ifdef SIFMORA_HAS_WORKBENCH
    workbench::DestroyWorkbench();
#endif
    delete Form1::instance();
    return rc;
}
