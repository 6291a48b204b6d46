// The statistics window: what each tab computes on its buttons and list headers, and the copies.
#include "statistics/statisticswindow.h"

#include "common/appstate.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/progressrun.h"
#include "statistics/compoundstats.h"
#include "statistics/formulastats.h"
#include "statistics/fuzzystats.h"
#include "statistics/numbercounts.h"
#include "statistics/profitplan.h"
#include "statistics/statstable.h"
#include "statistics/tablecopy.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>

#include <new>
#include <system_error>

using statistics::StatsTable;

using ui::PutOnClipboard;

// ---- 模糊统计

void StatisticsWindow::FillFuzzyStats() {
    const common::AppState& app = common::App();
    tables_[0]->appendTexts(statistics::FuzzyStatsRows(app.history, statistics::FuzzyRange(app)));
}

void StatisticsWindow::Command9_Click() { copyTable(1); }

// ---- 公式统计

void StatisticsWindow::FillFormulaStats() {
    const common::AppState& app = common::App();
    const statistics::StatsRange range = analysisRange();
    const QString caption = statistics::RangeCaption(app.history, range);
    const int op = formulaOp_->currentIndex();
    formulaCaption_->setText(caption);
    if (op == 0) {
        compoundCaption_->setText(caption);
        countsCaption_->setText(caption);
    }
    const QList<statistics::OmissionRow> rows =
        statistics::FormulaStatsRows(app.history, range, formulaFirst_->currentIndex(),
                                     statistics::FormulaOp(qBound(0, op, 2)), formulaSecond_->currentIndex());
    tables_[1]->appendOmission(std::vector<statistics::OmissionRow>(rows.begin(), rows.end()));
}

void StatisticsWindow::Command2_Click() {
    tables_[1]->clear();
    FillFormulaStats();
}

void StatisticsWindow::Command6_Click() { copyTable(2); }

void StatisticsWindow::ListView2_ColumnClick(int column) { tables_[1]->sortBy(column - 1, Qt::DescendingOrder); }

// ---- 复式统计

void StatisticsWindow::writeCompoundCaption() {
    compoundCaption_->setText(statistics::RangeCaption(common::App().history, analysisRange()));
}

void StatisticsWindow::AppendPositionalRow(const QString& s1, const QString& s2, const QString& s3) {
    writeCompoundCaption();
    const auto in = statistics::MakeCompoundInput(common::App().history, analysisRange());
    tables_[2]->appendOmission({statistics::PositionalRow(in, s1, s2, s3)});
}

void StatisticsWindow::AppendAnyOrderRow(const QString& s1, const QString& s2, const QString& s3) {
    writeCompoundCaption();
    const auto in = statistics::MakeCompoundInput(common::App().history, analysisRange());
    tables_[2]->appendOmission({statistics::AnyOrderRow(in, s1, s2, s3)});
}

void StatisticsWindow::AppendPoolGroupRow() {
    writeCompoundCaption();
    const auto in = statistics::MakeCompoundInput(common::App().history, analysisRange());
    tables_[2]->appendOmission({statistics::PoolGroupRow(in, inputs_.numbers)});
}

void StatisticsWindow::AppendPoolStraightRow() {
    writeCompoundCaption();
    const auto in = statistics::MakeCompoundInput(common::App().history, analysisRange());
    tables_[2]->appendOmission({statistics::PoolStraightRow(in, inputs_.numbers)});
}

void StatisticsWindow::Combo4_Click() {
    tables_[2]->clear();
    const int n = groupSize_->currentIndex();
    if (n < 1 || n > 9)
        return;
    writeCompoundCaption();
    const auto in = statistics::MakeCompoundInput(common::App().history, analysisRange());
    tables_[2]->appendOmission(statistics::GroupCombinationRows(in, n));
}

void StatisticsWindow::Command10_Click() {
    int sizes[3];
    for (int p = 0; p < 3; ++p)
        sizes[p] = straightSizes_[p]->currentText().toInt();
    if (ui::MsgBox(QStringLiteral("此步骤将运算大量数据,有可能造成死机,是否继续?"), ui::Icon::Question,
                   ui::Buttons::YesNo, QStringLiteral("确定"), this, ui::Answer::Yes) != ui::Answer::Yes)
        return;
    const auto in = statistics::MakeCompoundInput(common::App().history, analysisRange());
    if (in.drawCount() > statistics::StraightRows::kMaxDraws) {
        ui::MsgBox(QStringLiteral("统计范围超过%1期,无法进行单选统计,请缩小统计范围。").arg(statistics::StraightRows::kMaxDraws),
                   ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, this);
        return;
    }
    // Computed away from the window; the table changes only once every row is there, so a
    // cancelled run leaves it as it was. Everything the run allocates (its threads, the rows with
    // room to spare for showing them, the table's reset) is inside the handler: when memory is
    // short the table stays as it was too.
    statistics::StraightRows rows;
    auto memoryShort = [&] {
        rows = statistics::StraightRows();
        showCompoundRowCount(QStringLiteral("内存不足，表格未改变"));
        ui::MsgBox(QStringLiteral("内存不足,无法容纳%1组单选统计的结果,表格保持原样。请减少码数后再统计。")
                       .arg(statistics::StraightCombinationCount(sizes[0], sizes[1], sizes[2])),
                   ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
    };
    try {
        // The rows and the room beside them must be there before the work starts: while it runs
        // the window paints, and painting can take no memory the run has left short.
        statistics::RequireFreeMemory(
            size_t(statistics::StraightCombinationCount(sizes[0], sizes[1], sizes[2])) * sizeof(statistics::StraightRow) +
            kSpareBytes);
        if (!ui::RunWithProgress(this, QStringLiteral("正在进行单选统计…"), [&](common::WorkProgress& progress) {
                statistics::ComputeStraightRows(in, sizes[0], sizes[1], sizes[2], &rows, &progress, kSpareBytes);
            })) {
            showCompoundRowCount(QStringLiteral("已取消，表格未改变"));
            return;
        }
        writeCompoundCaption();
        tables_[2]->replaceWithStraight(std::move(rows));
    } catch (const std::bad_alloc&) {
        memoryShort();
    } catch (const std::system_error&) {  // no memory for the worker thread's stack
        memoryShort();
    }
}

void StatisticsWindow::Command11_Click() {
    tables_[2]->clear();
    writeCompoundCaption();
    const auto in = statistics::MakeCompoundInput(common::App().history, analysisRange());
    tables_[2]->appendOmission(statistics::WorkbenchNumberRows(in, inputs_.numbers));
}

void StatisticsWindow::Command8_Click() { copyTable(3); }

void StatisticsWindow::ListView3_ColumnClick(int column) {
    StatsTable* table = tables_[2];
    auto memoryShort = [this] {
        ui::MsgBox(QStringLiteral("内存不足,无法排序,表格保持原来的顺序。"), ui::Icon::Warning, ui::Buttons::Ok,
                   ui::kAppTitle, this);
    };
    try {
        if (table->rowCount() < kSortInWindowRows) {
            table->sortBy(column - 1, Qt::DescendingOrder);
            return;
        }
        // The sort's two lists of row positions and the room beside them, before it starts.
        statistics::RequireFreeMemory(size_t(table->rowCount()) * 2 * sizeof(std::uint32_t) + kSpareBytes);
        std::vector<std::uint32_t> order;
        if (ui::RunWithProgress(this, QStringLiteral("正在排序…"), [&](common::WorkProgress& progress) {
                order = table->sortedOrder(column - 1, Qt::DescendingOrder, &progress);
                statistics::RequireFreeMemory(kSpareBytes);
            }))
            table->applyOrder(std::move(order));
    } catch (const std::bad_alloc&) {
        memoryShort();
    } catch (const std::system_error&) {  // no memory for the worker thread's stack
        memoryShort();
    }
}

void StatisticsWindow::showCompoundRowCount(const QString& note) {
    const QString count =
        QStringLiteral("共%1行").arg(QLocale(QLocale::Chinese, QLocale::China).toString(tables_[2]->rowCount()));
    rowCountLabel_->setText(note.isEmpty() ? count : note + QStringLiteral("（") + count + QStringLiteral("）"));
}

// ---- 投资计划

void StatisticsWindow::Check1_Click() {
    const bool amount = planByAmount_->isChecked();
    planPercent_->setVisible(!amount);
    planTarget_->setText(amount ? QStringLiteral("1000") : QStringLiteral("50"));
}

void StatisticsWindow::Command3_Click() {
    tables_[3]->clear();
    planTarget_->setText(planTarget_->text().trimmed());
    statistics::ProfitPlanInputs in;
    if (!statistics::ParseProfitTarget(planTarget_->text(), &in.target)) {
        planTarget_->setText(QStringLiteral("50"));
        return;
    }
    in.periods = planLists_[0]->currentIndex() + 1;
    in.bets = planLists_[1]->currentIndex() + 1;
    in.startMultiple = planLists_[2]->currentIndex() + 1;
    in.prize = planLists_[3]->currentIndex() + 1;
    in.targetIsAmount = planByAmount_->isChecked();
    tables_[3]->appendTexts(statistics::ProfitPlanRows(in));
}

void StatisticsWindow::Command7_Click() { copyTable(4); }

// ---- 号码历史开出次数统计

void StatisticsWindow::FillNumberCounts() {
    const common::AppState& app = common::App();
    const statistics::NumberCounts counts = statistics::CountNumbers(app.history, analysisRange());
    tables_[4]->appendTexts(statistics::NumberCountRows(counts));
    const int largest = statistics::LargestCount(counts);
    const QStringList items = NumberItems(0, largest);
    countLow_->addItems(items);
    countHigh_->addItems(items);
    countLow_->setCurrentIndex(0);
    countHigh_->setCurrentIndex(countHigh_->count() - 1);
}

void StatisticsWindow::Command4_Click() {
    const int low = countLow_->currentText().toInt();
    const int high = countHigh_->currentText().toInt();
    const statistics::CountPick pick = statistics::PickByCount(tables_[4]->allTexts(), low, high);
    countPick_->setPlainText(pick.text);
    countTally_->setText(statistics::PickTally(pick.count));
    ui::MsgBox(QStringLiteral("小提示：您可以用生成的号码来进行垃圾号码过滤。"), ui::Icon::None, ui::Buttons::Ok,
               ui::kAppTitle, this);
}

void StatisticsWindow::Command5_Click() {
    PutOnClipboard(countPick_->toPlainText().trimmed());
}

void StatisticsWindow::ListView5_ColumnClick(int column) { tables_[4]->sortBy(column - 1, Qt::AscendingOrder); }

// ---- copies

void StatisticsWindow::copyTable(int n) {
    const statistics::CopyLayout* layouts[5] = {&statistics::FuzzyCopyLayout(), &statistics::FormulaCopyLayout(),
                                                &statistics::CompoundCopyLayout(), &statistics::ProfitPlanCopyLayout(),
                                                nullptr};
    if (!layouts[n - 1])
        return;
    StatsTable* model = tables_[n - 1];
    PutOnClipboard(statistics::CopyText(*layouts[n - 1], model->rowCount(),
                                        [model](int r) { return model->rowTexts(r); }));
}
