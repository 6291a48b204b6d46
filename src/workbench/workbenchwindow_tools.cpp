// WorkbenchWindow's openers and tools: the smart system (from 600 draws on), the tutorial page
// and the system calculator.
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "common/paths.h"
#include "platform/process.h"
#include "platform/ui/openpage.h"
#include "platform/ui/messagebox.h"
#include "workbench/workbenchlinks.h"


void WorkbenchWindow::Command69_Click() {
    if (common::App().history.count() >= 600) {
        if (const workbench::WindowOpener open = workbench::SmartSystemOpener()) open(this);
        return;
    }
    ui::MsgBox(QStringLiteral("开奖总期数累积达到600期以后,智能选号系统才能启动。"), ui::Icon::Information,
               ui::Buttons::Ok, QStringLiteral("智能选号"), this);
}

void WorkbenchWindow::Command49_Click() {
    ui::OpenHomePage(QStringLiteral("/3d/gd.htm"), this);
}

void WorkbenchWindow::Command20_Click() {
    QString error;
    if (!platform::StartCalculator(&error))
        ui::MsgBox(error, ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, this);
}
