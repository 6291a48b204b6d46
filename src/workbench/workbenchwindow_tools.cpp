// Workbench buttons of the result frame that open the number preview and the prize check.
#include "workbench/workbenchwindow.h"

#include "dialogs/numberpreviewwindow.h"
#include "dialogs/prizecheckwindow.h"
#include "platform/ui/messagebox.h"

#include <exception>

void WorkbenchWindow::Command25_Click() { NumberPreviewWindow::Open(); }

void WorkbenchWindow::Command16_Click() {
    QString error;
    bool opened = false;
    try {
        opened = PrizeCheckWindow::Open(&error);
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    }
    if (opened) return;
    QString text = QStringLiteral("无法打开兑奖窗口。");
    if (!error.isEmpty()) text += QLatin1Char('\n') + error;
    ui::MsgBox(text, ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
}
