#pragma once
// Tab 复式统计 of the statistics window: omission measures of digit sets (ListView3): the three
// workbench digit lists, the group N-digit combinations, every straight combination of chosen
// sizes, and the workbench's own numbers.
#include "pool/numberpool.h"
#include "statistics/compoundstats.h"
#include "statistics/statstab.h"

class QComboBox;
class QLabel;

namespace statistics {

class CompoundStatsTab : public StatsTab {
    Q_OBJECT
public:
    // Tables from this many rows on are sorted away from the window, with progress.
    static constexpr int kSortInWindowRows = 200000;

    // numbers: the workbench's pool, for 统计缩水器的号码 and the pool rows.
    CompoundStatsTab(const StatsSource& source, pool::NumberPool numbers, QWidget* parent = nullptr);
    // digitLists: the workbench's three lists when the window was opened by its 统计, else null.
    void load(const QString* digitLists);

    // Rows of the table: three digit lists by position or in any order, the pool as group and
    // as straight numbers.
    void appendPositionalRow(const QString& s1, const QString& s2, const QString& s3);
    void appendAnyOrderRow(const QString& s1, const QString& s2, const QString& s3);
    void appendPoolGroupRow();
    void appendPoolStraightRow();

    void showGroupCombinations();  // 组选统计 "组选n码" (Combo4)
    void countStraight();          // 开始单选统计 (Command10)
    void countWorkbenchNumbers();  // 统计缩水器的号码 (Command11)
    void copy();                   // 复制结果 (Command8)
    // A click on a column header: descending by that column (0 the first).
    void sortBySection(int section);
    // The range label of the last computation (also written by a 加 formula).
    void showRange(const QString& caption);

private:
    void writeRangeCaption();
    CompoundInput input() const;
    // The row count under the table, after a note on the last run when there is one.
    void showRowCount(const QString& note);
    void memoryShortForStraight(long long combinations);

    pool::NumberPool numbers_;
    QComboBox* groupSize_ = nullptr;       // Combo4
    QComboBox* straightSizes_[3] = {};     // Combo11..Combo13
    QLabel* rangeCaption_ = nullptr;       // Label2
    QLabel* rowCount_ = nullptr;           // RowCountLabel
};

}  // namespace statistics
