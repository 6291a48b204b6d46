#pragma once
// Tab 模糊统计 of the statistics window: the digit classes of every draw of the range (ListView1).
#include "statistics/statstab.h"

namespace statistics {

class FuzzyStatsTab : public StatsTab {
    Q_OBJECT
public:
    explicit FuzzyStatsTab(const StatsSource& source, QWidget* parent = nullptr);
    void load();
    void copy();  // 复制结果 (Command9)
};

}  // namespace statistics
