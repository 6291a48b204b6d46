// The workbench buttons that open the statistics window, each on the tabs it needs.
#include "workbench/workbenchwindow.h"

#include "statistics/statisticswindow.h"
#include "workbench/basesetframes.h"

#include <QLineEdit>
#include <QPushButton>

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
