// WorkbenchWindow's own handlers: the bottom row (conversions, undo and redo, the tools), the reset
// to building mode, the lottery switch, the omission filter (a frame no operation shows) and the
// statistics openers. The frames' and tabs' handlers live in their classes.
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "dialogs/omissionpicker.h"
#include "platform/process.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/openpage.h"
#include "pool/numberpool.h"
#include "statistics/statisticswindow.h"
#include "workbench/basesetframes.h"
#include "workbench/basesets.h"
#include "workbench/filterruns.h"
#include "workbench/lotteryswitch.h"
#include "workbench/resultsframe.h"
#include "workbench/workbenchlinks.h"

#include <QPushButton>

using pool::kNewLine;

namespace {

StatisticsWindow::WorkbenchInputs StatsInputsOf(WorkbenchWindow* bench, bool compoundOpening) {
    StatisticsWindow::WorkbenchInputs in;
    in.numbers = bench->session().pool;
    for (int p = 0; p < 3; ++p)
        in.digitLists[p] = bench->model().input(pool::InputBox(int(pool::InputBox::PositionDigits1) + p));
    in.compoundOpening = compoundOpening;
    return in;
}

}  // namespace

// ---- Conversions, the reset, undo and redo ---------------------------------------------------

void WorkbenchWindow::Command30_Click() {
    session_.pool = workbench::ExpandToStraight(session_.pool);
    session_.setDescription += QStringLiteral("=》组变单");
    appendLog(kNewLine + QStringLiteral("组变单") + kNewLine);
    session_.CommitSet();
}

void WorkbenchWindow::Command31_Click() {
    workbench::ReduceToGroup(session_.pool);
    session_.setDescription += QStringLiteral("=》单变组");
    appendLog(kNewLine + QStringLiteral("单变组") + kNewLine);
    session_.CommitSet();
}

void WorkbenchWindow::Command58_Click() {
    session_.pool.clear();
    for (QPushButton* b : baseFrame_->buildingButtons()) b->setEnabled(true);
    positionalFrame_->buildButton()->setEnabled(true);
    setFilterButtons(false);
    baseFrame_->buildingButtons().front()->setFocus();
    session_.log.reset();
    results_->clear();
}

void WorkbenchWindow::Command52_Click() {
    session_.Undo();
    if (!session_.pool.isEmpty()) enterFilteringMode();
}

void WorkbenchWindow::Command51_Click() {
    session_.Redo();
    if (!session_.pool.isEmpty()) enterFilteringMode();
}

// ---- The lottery switch ----------------------------------------------------------------------

void WorkbenchWindow::Image1_Click() { switchLottery(true); }
void WorkbenchWindow::Image2_Click() { switchLottery(false); }

void WorkbenchWindow::switchLottery(bool toP3) {
    QString error;
    if (!workbench::SwitchLottery(model_, toP3, &error)) return;
    if (!error.isEmpty()) ui::MsgBox(error, ui::Icon::Critical, ui::Buttons::Ok, ui::kAppTitle, this);
    Form_Activate();  // the main window follows the switch through history::LotteryNotifier
    ui::MsgBox(workbench::LotterySwitchedMessage(toP3), ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, this);
}

// ---- 遗漏过滤 ----------------------------------------------------------------------------------

void WorkbenchWindow::Command36_Click() { OmissionPicker::Open(); }

// 遗漏过滤: 过滤
void WorkbenchWindow::Command37_Click() {
    showLogEnd();
    std::array<workbench::OmissionCondition, 5> families;
    for (int f = 0; f < 5; ++f) {
        families[size_t(f)].on = model_.omissionOn[size_t(f)];
        families[size_t(f)].values = model_.input(pool::InputBox(int(pool::InputBox::OmissionGroup) + f));
    }
    workbench::RunOmissionFilter(session_, common::DigitOmissionTable::Count(common::App().history), families);
}

// ---- Statistics openers ----------------------------------------------------------------------

// 投资计划: the plan and the occurrence counts.
void WorkbenchWindow::Command45_Click() { StatisticsWindow::Open(StatisticsWindow::Opener::ProfitPlan, StatsInputsOf(this, false), this); }

// 统计: the compound statistics of the three positional digit lists, only when all are filled.
void WorkbenchWindow::Command47_Click() {
    for (int p = 0; p < 3; ++p)
        if (model_.input(pool::InputBox(int(pool::InputBox::PositionDigits1) + p)).isEmpty()) return;
    // The button's Tag reads "1" while the window it opens is shown, "0" otherwise.
    positionalFrame_->statsButton()->setProperty("Tag", QStringLiteral("1"));
    StatisticsWindow::Open(StatisticsWindow::Opener::Compound, StatsInputsOf(this, true), this);
    positionalFrame_->statsButton()->setProperty("Tag", QStringLiteral("0"));
}

// 分析 of the formula filter: the formula statistics in the smaller window.
void WorkbenchWindow::Command62_Click() { StatisticsWindow::Open(StatisticsWindow::Opener::FormulaFilter, StatsInputsOf(this, false), this); }

// 分析 of the fuzzy filter: the per-draw fuzzy classes.
void WorkbenchWindow::Command64_Click() { StatisticsWindow::Open(StatisticsWindow::Opener::FuzzyFilter, StatsInputsOf(this, false), this); }

// ---- Tools ---------------------------------------------------------------------------------------

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
