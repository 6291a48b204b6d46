// WorkbenchWindow's undo and redo through the pool's ring (the result frame is resultsframe.h's).
#include "workbench/workbenchwindow.h"

void WorkbenchWindow::Command52_Click() {
    session_.Undo();
    if (!session_.pool.isEmpty()) enterFilteringMode();
}

void WorkbenchWindow::Command51_Click() {
    session_.Redo();
    if (!session_.pool.isEmpty()) enterFilteringMode();
}
