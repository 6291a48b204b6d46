// WorkbenchWindow's switch between 福彩3D and 排列三 (history::SelectLottery saves the choice,
// reloads the history and tells the other windows).
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "platform/ui/messagebox.h"
#include "workbench/lotteryswitch.h"

void WorkbenchWindow::Image1_Click() { switchLottery(true); }
void WorkbenchWindow::Image2_Click() { switchLottery(false); }

void WorkbenchWindow::switchLottery(bool toP3) {
    QString error;
    if (!workbench::SwitchLottery(model_, toP3, &error)) return;
    if (!error.isEmpty()) ui::MsgBox(error, ui::Icon::Critical, ui::Buttons::Ok, ui::kAppTitle, this);
    Form_Activate();  // the main window follows the switch through history::LotteryNotifier
    ui::MsgBox(workbench::LotterySwitchedMessage(toP3), ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, this);
}
