#pragma once
// StatisticsWindow "统计分析": the statistics window. Five tabs on SSTab1 (模糊统计, 公式统计, 复式统计,
// 投资计划, 号码历史开出次数统计), each a frame owning its controls and table; the load computes
// every table that has a computation at load. Results leave it only through the screen and the
// clipboard. Its objectName is "Form16": tests, settings and the other windows find it by that name.
#include "platform/ui/rowtabs.h"
#include "pool/numberpool.h"
#include "statistics/statstab.h"

#include <QDialog>
#include <QString>

class QPushButton;

namespace statistics {
class CompoundStatsTab;
class FormulaStatsTab;
class FuzzyStatsTab;
class NumberCountsTab;
class ProfitPlanTab;
class StatsTable;
}  // namespace statistics

// What the statistics window reads of the workbench when it opens (the window is modal over
// it, so none of it changes while the window is open).
struct StatisticsWindowInputs {
    pool::NumberPool numbers;      // NumberPool
    QString digitLists[3];         // Text12, Text13, Text14
    bool compoundOpening = false;  // opened by 统计 beside the three digit lists
};

class StatisticsWindow : public QDialog {
    Q_OBJECT
public:
    using WorkbenchInputs = StatisticsWindowInputs;
    // The workbench buttons that open the window; each shows only its tabs.
    enum class Opener { FuzzyFilter, FormulaFilter, Compound, ProfitPlan };

    // state: the run's state, whose draws and analysis range the tables count over.
    explicit StatisticsWindow(const common::AppState& state, WorkbenchInputs inputs = {}, QWidget* parent = nullptr);
    ~StatisticsWindow() override;

    // Loads the window, hides the tabs the opener does not need and shows it modally.
    static int Open(const common::AppState& state, Opener opener, WorkbenchInputs inputs, QWidget* parent = nullptr);
    // The opener's settings before showing: hidden tabs, tabs per row, the formula layout.
    void prepareFor(Opener opener);

    // Table n (1..5) in tab order.
    statistics::StatsTable* table(int n) const;
    ui::RowTabWidget* tabs() const { return tabs_; }
    statistics::FuzzyStatsTab* fuzzyTab() const { return fuzzy_; }
    statistics::FormulaStatsTab* formulaTab() const { return formula_; }
    statistics::CompoundStatsTab* compoundTab() const { return compound_; }
    statistics::ProfitPlanTab* planTab() const { return plan_; }
    statistics::NumberCountsTab* countsTab() const { return counts_; }

private:
    void loadTables();  // as the window loads: placement and every table that computes at load
    void exitWindow();  // 退出 (Command1)

    WorkbenchInputs inputs_;
    statistics::StatsSource source_;
    ui::RowTabWidget* tabs_ = nullptr;          // SSTab1
    statistics::FuzzyStatsTab* fuzzy_ = nullptr;
    statistics::FormulaStatsTab* formula_ = nullptr;
    statistics::CompoundStatsTab* compound_ = nullptr;
    statistics::ProfitPlanTab* plan_ = nullptr;
    statistics::NumberCountsTab* counts_ = nullptr;
    QPushButton* exitButton_ = nullptr;         // Command1
};
