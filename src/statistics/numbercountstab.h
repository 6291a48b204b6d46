#pragma once
// Tab 号码历史开出次数统计 of the statistics window: how often each of the 1000 numbers was
// drawn over the analysis range (ListView5), and the numbers within a range of counts.
#include "statistics/statstab.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;

namespace statistics {

class NumberCountsTab : public StatsTab {
    Q_OBJECT
public:
    explicit NumberCountsTab(const StatsSource& source, QWidget* parent = nullptr);
    void load();
    void pickByCount();  // 生成结果 (Command4)
    void copyPicked();   // 复制号码 (Command5)
    // A click on a column header: ascending by that column (0 the first).
    void sortBySection(int section);
    void showRange(const QString& caption);  // Label10

private:
    QComboBox* low_ = nullptr;           // Combo9
    QComboBox* high_ = nullptr;          // Combo10
    QPlainTextEdit* picked_ = nullptr;   // Text2
    QLabel* tally_ = nullptr;            // Label12
    QLabel* rangeCaption_ = nullptr;     // Label10
};

}  // namespace statistics
