// WorkbenchWindow and the draw history: the number and issue queries, and the switch between
// 福彩3D and 排列三 (history::SelectLottery saves the choice, reloads the history and tells the
// other windows).
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "platform/ui/messagebox.h"
#include "pool/numberpool.h"
#include "pool/queries.h"
#include "workbench/lotteryswitch.h"

#include <QComboBox>

namespace {

// A three-character text that converts to a number (the queries' input test).
bool AcceptedQuery(const QString& text) { return text.size() == 3 && pool::IsNumericText(text); }

}  // namespace

// Runs one history query on the text of a query box; a text that is no number clears the box.
void WorkbenchWindow::runHistoryQuery(QComboBox* box,
                                      int (*query)(QString&, const common::DrawHistory&, const QString&)) {
    const QString text = box->currentText().trimmed();
    if (!AcceptedQuery(text)) {
        box->setFocus();
        box->setEditText(QString());
        return;
    }
    QString block;
    query(block, common::App().history, text);
    appendLog(block);
}

void WorkbenchWindow::Command42_Click() { runHistoryQuery(numberQuery_, pool::QueryNumberHistory); }

void WorkbenchWindow::Command57_Click() { runHistoryQuery(issueQuery_, pool::QueryIssueSerial); }

void WorkbenchWindow::Image1_Click() { switchLottery(true); }
void WorkbenchWindow::Image2_Click() { switchLottery(false); }

void WorkbenchWindow::switchLottery(bool toP3) {
    QString error;
    if (!workbench::SwitchLottery(model_, toP3, &error)) return;
    if (!error.isEmpty()) ui::MsgBox(error, ui::Icon::Critical, ui::Buttons::Ok, ui::kAppTitle, this);
    Form_Activate();  // the main window follows the switch through history::LotteryNotifier
    ui::MsgBox(workbench::LotterySwitchedMessage(toP3), ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, this);
}
