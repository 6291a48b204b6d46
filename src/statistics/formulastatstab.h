#pragma once
// Tab 公式统计 of the statistics window: the omission measures of a two-position formula's
// values (百位/十位/个位, 加/减/乘) over the analysis range (ListView2).
#include "statistics/statstab.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace statistics {

class FormulaStatsTab : public StatsTab {
    Q_OBJECT
public:
    explicit FormulaStatsTab(const StatsSource& source, QWidget* parent = nullptr);
    void load();
    void query();  // 查询 (Command2)
    void copy();   // 复制结果 (Command6)
    // A click on a column header: descending by that column (0 the first).
    void sortBySection(int section);
    // The formula opener's smaller window: the range label on the line at labelY (the exit
    // button's), the table and the copy button above it.
    void placeForFormulaOpening(int labelY, int labelWidth);

signals:
    // The range of a 加 formula is the range the compound and occurrence tabs show as well.
    void additionRangeShown(const QString& caption);

private:
    void fill();

    QComboBox* firstPosition_ = nullptr;   // Combo1
    QComboBox* operation_ = nullptr;       // Combo2
    QComboBox* secondPosition_ = nullptr;  // Combo3
    QLabel* rangeCaption_ = nullptr;       // Label1
    QPushButton* copyButton_ = nullptr;    // Command6
};

}  // namespace statistics
