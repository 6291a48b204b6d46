#include "statistics/compoundstatstab.h"

#include "platform/ui/controls.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/progressrun.h"
#include "statistics/statstable.h"
#include "statistics/tablecopy.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>

#include <new>
#include <system_error>

namespace statistics {

CompoundStatsTab::CompoundStatsTab(const StatsSource& source, pool::NumberPool numbers, QWidget* parent)
    : StatsTab(source, parent), numbers_(std::move(numbers)) {
    ui::MakeLabel(this, QStringLiteral("Label13"), QStringLiteral("组选统计:"), 6, 8, 64, 20);
    QStringList groupItems{QStringLiteral("请选择条件")};
    for (int n = 1; n <= 9; ++n)
        groupItems << QStringLiteral("组选%1码").arg(n);
    groupSize_ = ui::MakePickList(this, QStringLiteral("Combo4"), groupItems, 70, 6, 100);
    connect(groupSize_, &QComboBox::activated, this, &CompoundStatsTab::showGroupCombinations);
    ui::MakeLabel(this, QStringLiteral("Label14"), QStringLiteral("单选统计:"), 182, 8, 64, 20);
    const char16_t* sizeCaptions[3] = {u"百", u"十", u"个"};
    for (int p = 0; p < 3; ++p) {
        const int x = 246 + p * 70;
        ui::MakeLabel(this, QStringLiteral("Label%1").arg(15 + p), QString::fromUtf16(sizeCaptions[p]), x, 8, 16, 20);
        // The design items are replaced by the sizes at load.
        straightSizes_[p] = ui::MakePickList(this, QStringLiteral("Combo%1").arg(11 + p), groupItems.mid(1), x + 16, 6, 50);
    }
    ui::MakeButton(this, QStringLiteral("Command10"), QStringLiteral("开始单选统计"), 458, 5, 110, 26, this,
                   &CompoundStatsTab::countStraight);
    ui::MakeButton(this, QStringLiteral("Command11"), QStringLiteral("统计缩水器的号码"), 574, 5, 140, 26, this,
                   &CompoundStatsTab::countWorkbenchNumbers);
    // 类别 holds whole pools after 统计缩水器的号码: its counts stay in sight beside it.
    QList<TableColumn> columns = OmissionColumns(4000);
    columns[0].halfAtMost = true;
    makeTable(3, columns, QRect(6, 38, 744, 298), ViewKind::Uniform);
    rangeCaption_ = ui::MakeLabel(this, QStringLiteral("Label2"), QString(), 6, 346, 400, 20);
    rowCount_ = ui::MakeLabel(this, QStringLiteral("RowCountLabel"), QString(), 410, 346, 244, 20);
    rowCount_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui::MakeButton(this, QStringLiteral("Command8"), QStringLiteral("复制结果"), 660, 344, 90, 26, this, &CompoundStatsTab::copy);
    header()->setSectionsClickable(true);
    connect(header(), &QHeaderView::sectionClicked, this, &CompoundStatsTab::sortBySection);
    // Any change of the rows ends the note of a run that left them alone.
    auto changed = [this] { showRowCount(QString()); };
    connect(table(), &QAbstractItemModel::modelReset, this, changed);
    connect(table(), &QAbstractItemModel::rowsInserted, this, changed);
    connect(table(), &QAbstractItemModel::rowsRemoved, this, changed);
    showRowCount(QString());
}

void CompoundStatsTab::load(const QString* digitLists) {
    // 请选择条件 runs its handler, which empties the table.
    groupSize_->setCurrentIndex(0);
    resetTable();
    showGroupCombinations();
    if (digitLists) appendPositionalRow(digitLists[0], digitLists[1], digitLists[2]);
    for (QComboBox* combo : straightSizes_) {
        combo->clear();
        combo->addItems(NumberItems(1, 10));
        combo->setCurrentIndex(0);
    }
}

CompoundInput CompoundStatsTab::input() const { return MakeCompoundInput(source_.history(), source_.analysisRange()); }

void CompoundStatsTab::writeRangeCaption() { rangeCaption_->setText(source_.rangeCaption()); }

void CompoundStatsTab::showRange(const QString& caption) { rangeCaption_->setText(caption); }

void CompoundStatsTab::appendPositionalRow(const QString& s1, const QString& s2, const QString& s3) {
    writeRangeCaption();
    table()->appendOmission({PositionalRow(input(), s1, s2, s3)});
}

void CompoundStatsTab::appendAnyOrderRow(const QString& s1, const QString& s2, const QString& s3) {
    writeRangeCaption();
    table()->appendOmission({AnyOrderRow(input(), s1, s2, s3)});
}

void CompoundStatsTab::appendPoolGroupRow() {
    writeRangeCaption();
    table()->appendOmission({PoolGroupRow(input(), numbers_)});
}

void CompoundStatsTab::appendPoolStraightRow() {
    writeRangeCaption();
    table()->appendOmission({PoolStraightRow(input(), numbers_)});
}

void CompoundStatsTab::showGroupCombinations() {
    table()->clear();
    const int n = groupSize_->currentIndex();
    if (n < 1 || n > 9)
        return;
    writeRangeCaption();
    table()->appendOmission(GroupCombinationRows(input(), n));
}

void CompoundStatsTab::memoryShortForStraight(long long combinations) {
    showRowCount(QStringLiteral("内存不足，表格未改变"));
    ui::MsgBox(QStringLiteral("内存不足,无法容纳%1组单选统计的结果,表格保持原样。请减少码数后再统计。").arg(combinations),
               ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
}

void CompoundStatsTab::countStraight() {
    int sizes[3];
    for (int p = 0; p < 3; ++p)
        sizes[p] = straightSizes_[p]->currentText().toInt();
    if (ui::MsgBox(QStringLiteral("此步骤将运算大量数据,有可能造成死机,是否继续?"), ui::Icon::Question,
                   ui::Buttons::YesNo, QStringLiteral("确定"), this, ui::Answer::Yes) != ui::Answer::Yes)
        return;
    const CompoundInput in = input();
    if (in.drawCount() > StraightRows::kMaxDraws) {
        ui::MsgBox(QStringLiteral("统计范围超过%1期,无法进行单选统计,请缩小统计范围。").arg(StraightRows::kMaxDraws),
                   ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, this);
        return;
    }
    // Computed away from the window; the table changes only once every row is there, so a
    // cancelled run leaves it as it was. Everything the run allocates (its threads, the rows with
    // room to spare for showing them, the table's reset) is inside the handler: when memory is
    // short the table stays as it was too.
    const long long combinations = StraightCombinationCount(sizes[0], sizes[1], sizes[2]);
    StraightRows rows;
    try {
        // The rows and the room beside them must be there before the work starts: while it runs
        // the window paints, and painting can take no memory the run has left short.
        RequireFreeMemory(size_t(combinations) * sizeof(StraightRow) + kSpareBytes);
        if (!ui::RunWithProgress(this, QStringLiteral("正在进行单选统计…"), [&](common::WorkProgress& progress) {
                ComputeStraightRows(in, sizes[0], sizes[1], sizes[2], &rows, &progress, kSpareBytes);
            })) {
            showRowCount(QStringLiteral("已取消，表格未改变"));
            return;
        }
        writeRangeCaption();
        table()->replaceWithStraight(std::move(rows));
    } catch (const std::bad_alloc&) {
        rows = StraightRows();
        memoryShortForStraight(combinations);
    } catch (const std::system_error&) {  // no memory for the worker thread's stack
        rows = StraightRows();
        memoryShortForStraight(combinations);
    }
}

void CompoundStatsTab::countWorkbenchNumbers() {
    table()->clear();
    writeRangeCaption();
    table()->appendOmission(WorkbenchNumberRows(input(), numbers_));
}

void CompoundStatsTab::copy() { copyTable(CompoundCopyLayout()); }

void CompoundStatsTab::sortBySection(int section) {
    StatsTable* model = table();
    auto memoryShort = [this] {
        ui::MsgBox(QStringLiteral("内存不足,无法排序,表格保持原来的顺序。"), ui::Icon::Warning, ui::Buttons::Ok,
                   ui::kAppTitle, this);
    };
    try {
        if (model->rowCount() < kSortInWindowRows) {
            model->sortBy(section, Qt::DescendingOrder);
            return;
        }
        // The sort's two lists of row positions and the room beside them, before it starts.
        RequireFreeMemory(size_t(model->rowCount()) * 2 * sizeof(std::uint32_t) + kSpareBytes);
        std::vector<std::uint32_t> order;
        if (ui::RunWithProgress(this, QStringLiteral("正在排序…"), [&](common::WorkProgress& progress) {
                order = model->sortedOrder(section, Qt::DescendingOrder, &progress);
                RequireFreeMemory(kSpareBytes);
            }))
            model->applyOrder(std::move(order));
    } catch (const std::bad_alloc&) {
        memoryShort();
    } catch (const std::system_error&) {  // no memory for the worker thread's stack
        memoryShort();
    }
}

void CompoundStatsTab::showRowCount(const QString& note) {
    const QString count =
        QStringLiteral("共%1行").arg(QLocale(QLocale::Chinese, QLocale::China).toString(table()->rowCount()));
    rowCount_->setText(note.isEmpty() ? count : note + QStringLiteral("（") + count + QStringLiteral("）"));
}

}  // namespace statistics
