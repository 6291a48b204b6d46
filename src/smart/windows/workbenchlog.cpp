#include "smart/windows/workbenchlog.h"

#include "dialogs/workbenchapi.h"

namespace smart {

QString SaveWorkbenchLog(dialogs::WorkbenchApi* wb) {
    return wb ? wb->session().log.text() : QString();
}

void ShowWorkbenchLog(dialogs::WorkbenchApi* wb, bool visible) {
    if (!wb) return;
    wb->setLogVisible(visible);
}

void PutBackWorkbenchLog(dialogs::WorkbenchApi* wb, const QString& text) {
    if (!wb) return;
    wb->session().log.setText(text);
    wb->showLogEnd();
}

void RestoreWorkbenchNumbers(dialogs::WorkbenchApi* wb) {
    if (!wb) return;
    const QString log = wb->session().log.text();
    wb->redo();
    wb->undo();
    PutBackWorkbenchLog(wb, log);
}

}  // namespace smart
