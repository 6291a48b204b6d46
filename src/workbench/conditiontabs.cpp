#include "workbench/conditiontabs.h"

#include "workbench/commonfilterstab.h"
#include "workbench/formulatab.h"
#include "workbench/fuzzytab.h"
#include "workbench/inputboxes.h"
#include "workbench/recenttab.h"
#include "workbench/statsopeners.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace workbench {

ConditionTabs::ConditionTabs(dialogs::WorkbenchApi& bench, QWidget* parent)
    : QTabWidget(parent), common_(new CommonFiltersTab(bench)), fuzzy_(new FuzzyTab(bench)),
      recent_(new RecentTab(bench)), digitGroups_(new DigitGroupTab(bench)), formula_(new FormulaTab(bench)) {
    setObjectName(QStringLiteral("SSTab1"));
    addTab(common_, QStringLiteral("常用过滤"));
    addTab(fuzzy_, QStringLiteral("模糊过滤"));
    addTab(recent_, QStringLiteral("近期过滤"));
    addTab(digitGroups_, QStringLiteral("胆码组合"));
    addTab(formula_, QStringLiteral("万能公式"));
    setGeometry(376, 8, 416, 268);
    connect(fuzzy_->analyseButton(), &QPushButton::clicked, this,
            [&bench] { OpenStatistics(bench, StatisticsWindow::Opener::FuzzyFilter); });
}

QList<QPushButton*> ConditionTabs::runButtons() const {
    return QList<QPushButton*>(common_->filterButtons())
           << fuzzy_->runButton() << recent_->runButton() << digitGroups_->runButton() << formula_->runButton();
}

void ConditionTabs::addInputs(InputBoxes& inputs) const {
    inputs.add(pool::InputBox::TwoCodes, common_->twoCodesBox());
    for (int k = 0; k < 3; ++k) inputs.add(pool::InputBox(int(pool::InputBox::FuzzyDigits1) + k), fuzzy_->digitBox(k));
    inputs.add(pool::InputBox::Formula, formula_->formulaBox());
}

void ConditionTabs::bindModel() {
    common_->bindModel();
    fuzzy_->bindModel();
    recent_->bindModel();
    digitGroups_->bindModel();
    formula_->bindModel();
}

void ConditionTabs::reset() {
    setCurrentIndex(0);
    fuzzy_->showSource(0);
}

void ConditionTabs::fill() {
    recent_->fillCounts();
    formula_->refillList();
    common_->resetChoices();
}

}  // namespace workbench
