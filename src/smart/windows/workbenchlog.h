#pragma once
// The workbench around a smart run, reached through the dialogs' typed interface: every smart
// window saves the workbench's log before it computes and afterwards hands the workbench its
// log and its committed numbers back.
#include <QString>

namespace dialogs {
class WorkbenchApi;
}

namespace smart {

// Save the log before; afterwards put it back, show the log
// box, and bring back the last committed numbers by redo followed by undo, keeping the log
// text (the two lines redo and undo write vanish) with the caret at its end. Each does nothing
// without a workbench (wb null).
QString SaveWorkbenchLog(dialogs::WorkbenchApi* wb);
void PutBackWorkbenchLog(dialogs::WorkbenchApi* wb, const QString& text);
void RestoreWorkbenchNumbers(dialogs::WorkbenchApi* wb);
void ShowWorkbenchLog(dialogs::WorkbenchApi* wb, bool visible);

}  // namespace smart
