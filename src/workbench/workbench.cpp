#include "workbench/workbench.h"

#include "common/appstate.h"
#include "workbench/workbenchwindow.h"

#include <QPointer>

namespace workbench {
namespace {
QPointer<WorkbenchWindow> g_workbenchWindow;
}  // namespace

WorkbenchWindow* EnsureWorkbench(common::AppState& state, QWidget* mainWindow) {
    if (!g_workbenchWindow) g_workbenchWindow = new WorkbenchWindow(state, mainWindow);
    else if (mainWindow) g_workbenchWindow->setMainWindow(mainWindow);
    return g_workbenchWindow;
}

WorkbenchWindow* ExistingWorkbench() { return g_workbenchWindow; }

void DestroyWorkbench() { delete g_workbenchWindow.data(); }

void ShowWorkbench(QWidget* mainWindow, common::AppState& state) {
    if (state.quitting) return;
    WorkbenchWindow* form = EnsureWorkbench(state, mainWindow);
    if (mainWindow) mainWindow->hide();
    form->show();
    form->raise();
    form->activateWindow();
    form->Form_Activate();
}

}  // namespace workbench
