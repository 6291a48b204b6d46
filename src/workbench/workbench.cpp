#include "workbench/workbench.h"

#include "common/appstate.h"
#include "workbench/workbenchwindow.h"

namespace workbench {

void ShowWorkbench(WorkbenchWindow& form, QWidget* mainWindow) {
    if (form.state().quitting()) return;
    if (mainWindow) mainWindow->hide();
    form.show();
    form.raise();
    form.activateWindow();
    form.refreshFromState();
}

}  // namespace workbench
