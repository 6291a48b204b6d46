#pragma once
// What the workbench window calls out through: the windows it tells or opens that live in other
// libraries (the main window, the smart system). Whoever owns the run's windows implements it and
// hands it to the workbench, so the workbench never depends on those windows.
#include "platform/ui/filedialogs.h"

class QWidget;

namespace workbench {

// The save dialog of the export (tests answer it through ui::FileDialogAnswerScope).
using ui::AskSaveFileName;

class WorkbenchLinks {
public:
    virtual ~WorkbenchLinks() = default;
    // The workbench hid: the main window shows again and its tray toggles it again (a lottery
    // switch reaches the main window through the state's lotteryChanged).
    virtual void workbenchClosed() = 0;
    // Command69 from 600 draws on: the smart-system window over the workbench.
    virtual void openSmartSystem(QWidget* workbench) = 0;
};

}  // namespace workbench
