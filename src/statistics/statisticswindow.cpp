// The statistics window: its tabs, the load that fills every tab, and what each opener shows.
#include "statistics/statisticswindow.h"

#include "dialogs/dialogutil.h"
#include "platform/ui/controls.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/rowtabs.h"
#include "statistics/compoundstatstab.h"
#include "statistics/formulastatstab.h"
#include "statistics/fuzzystatstab.h"
#include "statistics/numbercountstab.h"
#include "statistics/profitplantab.h"

#include <QApplication>
#include <QPushButton>

using statistics::Px;

StatisticsWindow::StatisticsWindow(const common::AppState& state, WorkbenchInputs inputs, QWidget* parent)
    : QDialog(parent), inputs_(std::move(inputs)), source_(state) {
    setObjectName(QStringLiteral("Form16"));
    setWindowTitle(QStringLiteral("统计分析"));
    resize(Px(11535), Px(6870));
    tabs_ = new ui::RowTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    tabs_->setGeometry(4, 4, 761, 410);
    fuzzy_ = new statistics::FuzzyStatsTab(source_);
    formula_ = new statistics::FormulaStatsTab(source_);
    compound_ = new statistics::CompoundStatsTab(source_, inputs_.numbers);
    plan_ = new statistics::ProfitPlanTab(source_);
    counts_ = new statistics::NumberCountsTab(source_);
    tabs_->addTab(fuzzy_, QStringLiteral("模糊统计"));
    tabs_->addTab(formula_, QStringLiteral("公式统计"));
    tabs_->addTab(compound_, QStringLiteral("复式统计"));
    tabs_->addTab(plan_, QStringLiteral("投资计划"));
    tabs_->addTab(counts_, QStringLiteral("号码历史开出次数统计"));
    // Until an opener sets its count, the five tabs share one row.
    tabs_->setTabsPerRow(tabs_->count());
    connect(formula_, &statistics::FormulaStatsTab::additionRangeShown, compound_, &statistics::CompoundStatsTab::showRange);
    connect(formula_, &statistics::FormulaStatsTab::additionRangeShown, counts_, &statistics::NumberCountsTab::showRange);
    exitButton_ = ui::MakeButton(this, QStringLiteral("Command1"), QStringLiteral("退出"), 680, 422, 80, 28, this,
                                 &StatisticsWindow::exitWindow);
    loadTables();
}

StatisticsWindow::~StatisticsWindow() = default;

statistics::StatsTable* StatisticsWindow::table(int n) const {
    const statistics::StatsTab* tabs[5] = {fuzzy_, formula_, compound_, plan_, counts_};
    return tabs[n - 1]->table();
}

void StatisticsWindow::loadTables() {
    setWindowIcon(QApplication::windowIcon());
    dialogs::CentreOnScreen(this);
    plan_->load();
    counts_->load();
    tabs_->setCurrentIndex(0);
    fuzzy_->load();
    formula_->load();  // writes the range on the compound and occurrence tabs too
    // Opened by 统计 of the workbench: the row of its three digit lists.
    compound_->load(inputs_.compoundOpening ? inputs_.digitLists : nullptr);
}

void StatisticsWindow::exitWindow() { close(); }

int StatisticsWindow::Open(const common::AppState& state, Opener opener, WorkbenchInputs inputs, QWidget* parent) {
    StatisticsWindow window(state, std::move(inputs), parent);
    window.prepareFor(opener);
    return ui::ShowModal(&window);
}

void StatisticsWindow::prepareFor(Opener opener) {
    QList<int> shown;
    int perRow = 1;
    switch (opener) {
    case Opener::FuzzyFilter: shown = {0}; break;
    case Opener::FormulaFilter: shown = {1}; break;
    case Opener::Compound: shown = {2}; break;
    case Opener::ProfitPlan: shown = {3, 4}; perRow = 2; break;
    }
    for (int t = 0; t < tabs_->count(); ++t)
        tabs_->setTabVisible(t, shown.contains(t));
    tabs_->setCurrentIndex(shown.first());
    tabs_->setTabsPerRow(perRow);
    if (opener == Opener::FormulaFilter) {
        resize(Px(8200), Px(6000));
        tabs_->setGeometry(4, 4, Px(8120), Px(6000) - 12);
        exitButton_->move(Px(6500), Px(5000));
        exitButton_->raise();
        // The range label goes on the button's line; the table and its copy button make room.
        const int pageTop = formula_->mapTo(this, QPoint(0, 0)).y();
        formula_->placeForFormulaOpening(exitButton_->y() - (pageTop > 0 ? pageTop : 30), Px(6500) - 20);
    }
}
