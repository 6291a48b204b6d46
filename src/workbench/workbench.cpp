#include "workbench/workbench.h"

#include "common/appstate.h"
#include "workbench/form2.h"

#include <QFileDialog>
#include <QPointer>

namespace workbench {
namespace {
QPointer<Form2> g_form2;
SaveFileHook g_saveHook;
WindowOpener g_smartOpener;
MainWindowLink g_link;
}  // namespace

Form2* EnsureWorkbench(QWidget* mainWindow) {
    if (!g_form2) g_form2 = new Form2(mainWindow);
    else if (mainWindow) g_form2->setMainWindow(mainWindow);
    return g_form2;
}

Form2* ExistingWorkbench() { return g_form2; }

void DestroyWorkbench() { delete g_form2.data(); }

void ShowWorkbench(QWidget* mainWindow) {
    common::AppState& app = common::App();
    if (app.busyFlag) return;
    Form2* form = EnsureWorkbench(mainWindow);
    if (mainWindow) mainWindow->hide();
    app.trayToggleEnabled = false;
    form->show();
    form->raise();
    form->activateWindow();
    form->Form_Activate();
}

void SetSaveFileHook(SaveFileHook hook) { g_saveHook = std::move(hook); }

QString AskSaveFileName(QWidget* parent, const QString& title, const QString& defaultName, const QString& filter) {
    if (g_saveHook) return g_saveHook(title, defaultName, filter);
    // Asks before replacing an existing file (the dialog's default).
    return QFileDialog::getSaveFileName(parent, title, defaultName, filter);
}

void SetSmartSystemOpener(WindowOpener opener) { g_smartOpener = std::move(opener); }
WindowOpener SmartSystemOpener() { return g_smartOpener; }

void SetMainWindowLink(MainWindowLink link) { g_link = std::move(link); }
const MainWindowLink& MainWindowLinks() { return g_link; }

}  // namespace workbench
