#pragma once
// StatisticsWindow "统计分析": the statistics window. Five tabs on SSTab1 (模糊统计, 公式统计, 复式统计,
// 投资计划, 号码历史开出次数统计), each with its table; the load computes every table that has a
// computation at load. Results leave it only through the screen and the clipboard.
// Its objectName is "Form16": tests, settings and the other windows find it by that name.
#include "pool/numberpool.h"
#include "statistics/statsrange.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <cstddef>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QAbstractItemView;
class QHeaderView;

namespace statistics {
class StatsTable;
}

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

    // Compound tables from this many rows on are sorted away from the window, with progress.
    static constexpr int kSortInWindowRows = 200000;
    // What the window keeps free beside a straight run's rows and its sorts: the run's worker
    // threads, and painting (which starts threads of its own) while and after they work.
    static constexpr std::size_t kSpareBytes = std::size_t(64) << 20;

    explicit StatisticsWindow(WorkbenchInputs inputs = {}, QWidget* parent = nullptr);
    ~StatisticsWindow() override;

    // Loads the window, hides the tabs the opener does not need and shows it modally.
    static int Open(Opener opener, WorkbenchInputs inputs, QWidget* parent = nullptr);
    // The opener's settings before showing: hidden tabs, tabs per row, the formula layout.
    void prepareFor(Opener opener);

    statistics::StatsTable* table(int n) const { return tables_[n - 1]; }
    QTabWidget* tabs() const { return tab_; }

public slots:
    void Form_Load();
    void Command1_Click();  // 退出

    // 模糊统计
    void Command9_Click();  // 复制结果
    // 公式统计
    void FillFormulaStats();  // the formula table at load and on 查询
    void Command2_Click();  // 查询
    void Command6_Click();  // 复制结果
    void ListView2_ColumnClick(int column);
    // 复式统计
    // Rows of the compound table: three digit lists by position, the pool as group and as
    // straight numbers, three digit lists in any order.
    void AppendPositionalRow(const QString& s1, const QString& s2, const QString& s3);
    void AppendPoolGroupRow();
    void AppendPoolStraightRow();
    void AppendAnyOrderRow(const QString& s1, const QString& s2, const QString& s3);
    void Combo4_Click();     // 组选统计 "组选n码"
    void Command10_Click();  // 开始单选统计
    void Command11_Click();  // 统计缩水器的号码
    void Command8_Click();   // 复制结果
    void ListView3_ColumnClick(int column);
    // 投资计划
    void Check1_Click();     // "以奖金计算"
    void Command3_Click();  // 确定
    void Command7_Click();  // 复制结果
    // 号码历史开出次数统计
    void Command4_Click();  // 生成结果
    void Command5_Click();  // 复制号码
    void ListView5_ColumnClick(int column);

private:
    void buildControls();
    void FillFuzzyStats();
    void FillNumberCounts();
    statistics::StatsRange analysisRange() const;
    void writeCompoundCaption();
    void copyTable(int n);
    // The compound table's row count under it, after a note on the last run when there is one.
    void showCompoundRowCount(const QString& note);
    // The choices "first".."last" of a number drop-down.
    static QStringList NumberItems(int first, int last);

    WorkbenchInputs inputs_;
    QTabWidget* tab_ = nullptr;
    QAbstractItemView* views_[5] = {};
    QHeaderView* headers_[5] = {};
    statistics::StatsTable* tables_[5] = {};
    QLabel* rowCountLabel_ = nullptr;

    // The controls the handlers read and write (their objectNames in brackets).
    QPushButton* exitButton_ = nullptr;          // Command1
    QComboBox* formulaFirst_ = nullptr;          // Combo1
    QComboBox* formulaOp_ = nullptr;             // Combo2
    QComboBox* formulaSecond_ = nullptr;         // Combo3
    QLabel* formulaCaption_ = nullptr;           // Label1
    QPushButton* formulaCopy_ = nullptr;         // Command6
    QComboBox* groupSize_ = nullptr;             // Combo4
    QComboBox* straightSizes_[3] = {};           // Combo11..Combo13
    QLabel* compoundCaption_ = nullptr;          // Label2
    QComboBox* planLists_[4] = {};               // Combo5..Combo8: periods, bets, start multiple, prize
    QLineEdit* planTarget_ = nullptr;            // Text1
    QLabel* planPercent_ = nullptr;              // Label8
    QCheckBox* planByAmount_ = nullptr;          // Check1
    QComboBox* countLow_ = nullptr;              // Combo9
    QComboBox* countHigh_ = nullptr;             // Combo10
    QPlainTextEdit* countPick_ = nullptr;        // Text2
    QLabel* countTally_ = nullptr;               // Label12
    QLabel* countsCaption_ = nullptr;            // Label10
};
