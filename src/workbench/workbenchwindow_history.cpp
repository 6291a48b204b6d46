// WorkbenchWindow and the draw history: the number and issue queries, and the switch between
// 福彩3D and 排列三 (saves the choice, reloads the history, tells the main window).
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "common/paths.h"
#include "common/settings.h"
#include "history/drawfile.h"
#include "history/lottery.h"
#include "platform/ui/messagebox.h"
#include "pool/numberpool.h"
#include "pool/queries.h"
#include "workbench/workbenchlinks.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// A three-character text that converts to a number (the queries' input test).
bool AcceptedQuery(const QString& text) { return text.size() == 3 && pool::IsNumericText(text); }

// Writes a text into a control of another window, whatever kind of text control it is.
void SetControlText(QWidget* window, const QString& name, const QString& text) {
    if (!window) return;
    QWidget* w = window->findChild<QWidget*>(name);
    if (auto* l = qobject_cast<QLabel*>(w)) l->setText(text);
    else if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(text);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) p->setPlainText(text);
    else if (w) w->setProperty("text", text);
}

}  // namespace

// Runs one history query on the text of a query box; a text that is no number clears the box.
void WorkbenchWindow::runHistoryQuery(const QString& comboName,
                            int (*query)(QString&, const common::DrawHistory&, const QString&)) {
    auto* box = ctl<QComboBox>(comboName);
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

void WorkbenchWindow::Command42_Click() { runHistoryQuery(QStringLiteral("Combo9"), pool::QueryNumberHistory); }

void WorkbenchWindow::Command57_Click() { runHistoryQuery(QStringLiteral("Combo11"), pool::QueryIssueSerial); }

void WorkbenchWindow::Image1_Click() {
    if (!common::App().lotteryIsP3) switchLottery(true);
}
void WorkbenchWindow::Image2_Click() {
    if (common::App().lotteryIsP3) switchLottery(false);
}

void WorkbenchWindow::switchLottery(bool toP3) {
    QString error;
    history::SelectLottery(toP3, &error);
    const auto& told = workbench::MainWindowLinks().lotteryChanged;
    if (!told) SetControlText(mainWindow_, QStringLiteral("Label3"), history::LotteryLabel(toP3));
    if (!error.isEmpty()) ui::MsgBox(error, ui::Icon::Critical, ui::Buttons::Ok, ui::kAppTitle, this);
    Form_Activate();
    if (told) {
        told();
    } else {
        SetControlText(mainWindow_, QStringLiteral("Text1"), QStringLiteral("彩票类型已被转换请刷新数据..."));
        SetControlText(mainWindow_, QStringLiteral("Label1"), QStringLiteral("彩票类型已被转换请刷新数据..."));
    }
    ui::MsgBox(toP3 ? QStringLiteral("彩票类型已被转换，当前彩票类型为[体彩排列3]。")
                    : QStringLiteral("彩票类型已被转换，当前彩票类型为[福彩3D]。"),
               ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, this);
}
