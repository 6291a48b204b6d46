#pragma once
// Tab 投资计划 of the statistics window: the multiples of each period that reach a target profit
// (ListView4), from the tab's own inputs only.
#include "statistics/statstab.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace statistics {

class ProfitPlanTab : public StatsTab {
    Q_OBJECT
public:
    explicit ProfitPlanTab(const StatsSource& source, QWidget* parent = nullptr);
    void load();
    void switchTarget();  // 以奖金计算 (Check1): an amount or a percentage
    void plan();          // 确定 (Command3)
    void copy();          // 复制结果 (Command7)

private:
    QComboBox* lists_[4] = {};        // Combo5..Combo8: periods, bets, start multiple, prize
    QLineEdit* target_ = nullptr;     // Text1
    QLabel* percent_ = nullptr;       // Label8
    QCheckBox* byAmount_ = nullptr;   // Check1
};

}  // namespace statistics
