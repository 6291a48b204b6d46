#pragma once
// Showing the filter workbench over the main window. The window (workbenchwindow.h) is made and
// owned by whoever owns the run's windows (the program's wiring, src/app); what it calls out
// through is workbenchlinks.h.
#include "workbench/workbenchlinks.h"

class QWidget;
class WorkbenchWindow;

namespace workbench {

// The main window's "过滤缩水": hides the main window (which has turned its tray toggle off) and
// shows the workbench modeless. Closing the workbench hides it and tells its links.
// Nothing while the program is quitting.
void ShowWorkbench(WorkbenchWindow& form, QWidget* mainWindow);

}  // namespace workbench
