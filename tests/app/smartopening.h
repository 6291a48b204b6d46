#pragma once
// The probes' way into the smart system, as a player takes it: the main window, then the
// workbench, whose first opening may open the smart system itself; otherwise the workbench's
// link opens it. Nothing once the run is quitting.
#include "app/programwindows.h"
#include "common/appstate.h"
#include "smart/windows/smartsystemwindow.h"
#include "workbench/workbenchwindow.h"

#include <QAbstractButton>
#include <QString>

namespace probes {

// Presses the button of that objectName, as the player does.
inline void Press(QWidget* window, const char* name) {
    if (auto* button = window->findChild<QAbstractButton*>(QString::fromLatin1(name))) button->click();
}

inline void OpenTheSmartSystem(common::AppState& state, app::ProgramWindows& windows) {
    windows.showMainWindow();
    windows.showWorkbench();
    SmartSystemWindow* smart = windows.smartSystem().window();
    if (!state.quitting() && !(smart && smart->isVisible())) windows.openSmartSystem(windows.workbench());
}

}  // namespace probes
