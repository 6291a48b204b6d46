#pragma once
// Entry points of the filter workbench for the other windows. The hooks tests and later
// windows plug into are in workbenchlinks.h (included here for the program's start-up).
#include "workbench/workbenchlinks.h"

class QWidget;
class WorkbenchWindow;
namespace common {
class AppState;
}  // namespace common

namespace workbench {

// The main window's "过滤缩水": creates the workbench once (its first creation runs the smart
// system gate), hides the main window (which has turned its tray toggle off) and shows the workbench
// modeless. Closing the workbench hides it and shows the main window again.
// Nothing while the program is quitting.
void ShowWorkbench(QWidget* mainWindow, common::AppState& state);
// The workbench over state, created (not shown) when it does not exist yet.
WorkbenchWindow* EnsureWorkbench(common::AppState& state, QWidget* mainWindow = nullptr);
// The workbench when it exists, else null.
WorkbenchWindow* ExistingWorkbench();
// Destroys the workbench (program end; tests).
void DestroyWorkbench();

}  // namespace workbench
