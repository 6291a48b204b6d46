#include "workbench/workbench.h"

#include "common/appstate.h"
#include "workbench/workbenchwindow.h"

#include <QPointer>

namespace workbench {
namespace {
QPointer<WorkbenchWindow> g_workbenchWindow;
}  // namespace

WorkbenchWindow* EnsureWorkbench(QWidget* mainWindow) {
    if (!g_workbenchWindow) g_workbenchWindow = new WorkbenchWindow(mainWindow);
    else if (mainWindow) g_workbenchWindow->setMainWindow(mainWindow);
    return g_workbenchWindow;
}

WorkbenchWindow* ExistingWorkbench() { return g_workbenchWindow; }

void DestroyWorkbench() { delete g_workbenchWindow.data(); }

void ShowWorkbench(QWidget* mainWindow) {
    if (common::App().quitting) return;  // the entry the program's wiring calls: no window to ask yet
    WorkbenchWindow* form = EnsureWorkbench(mainWindow);
    if (mainWindow) mainWindow->hide();
    form->show();
    form->raise();
    form->activateWindow();
    form->Form_Activate();
}

}  // namespace workbench
