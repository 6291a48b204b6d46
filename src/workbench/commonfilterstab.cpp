// The workbench's tab 常用过滤: building its frames and running the single-value filters (from
// pool/valuefilters.h) and the two-code filter (filterruns.h).
#include "workbench/commonfilterstab.h"

#include "dialogs/pairpicker.h"
#include "dialogs/workbenchapi.h"
#include "pool/valuefilters.h"
#include "workbench/benchcontrols.h"
#include "pool/filterruns.h"

#include <functional>
#include <utility>

namespace workbench {

namespace {

using pool::kNewLine;

// Values 1..9, 0 in the order the digit rows are read.
const int kDigitOrder[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0};

// A row of ten digit boxes for the values 1..9, 0 with the given names.
void DigitRow(QWidget* frame, const QStringList& names, QCheckBox** row) {
    for (int i = 0; i < 10; ++i) row[i] = Chk(frame, names[i], QString::number(kDigitOrder[i]), 6 + i * 32, 16, 32, 18);
}

// Ticked values of a digit row, in the order 1..9, 0, and their item texts.
QList<int> TickedValues(const std::array<bool, 10>& row, const QString& itemSuffix, QString* items) {
    QList<int> values;
    for (int i = 0; i < 10; ++i) {
        if (!row[size_t(i)]) continue;
        values << kDigitOrder[i];
        *items += QString::number(kDigitOrder[i]) + itemSuffix;
    }
    return values;
}

// A value filter run once for every ticked value of a digit row, as one logged run whose
// description lists the values.
void RunDigitRowFilter(pool::PoolSession& session, const std::array<bool, 10>& row, const QString& itemSuffix,
                       const QString& titleWithStart, const QString& description,
                       const std::function<void(pool::NumberPool&, QString&, int)>& filter) {
    QString items;
    const QList<int> values = TickedValues(row, itemSuffix, &items);
    session.RunFilter(titleWithStart, description + items, [&](pool::NumberPool& p, QString& log) {
        for (int v : values) filter(p, log, v);
    });
}

}  // namespace

CommonFiltersTab::CommonFiltersTab(dialogs::WorkbenchApi& bench) : bench_(bench) {
    using T = CommonFiltersTab;
    const struct {
        const char* frame;
        const char* caption;
        const char* button;
        const char* buttonCaption;
        void (T::*run)();
    } rows[4] = {{"Frame5", "选胆", "Command2", "选胆", &T::pickDigits},
                 {"Frame6", "过滤  胆", "Command4", "过滤", &T::filterDigits},
                 {"Frame9", "过滤跨度", "Command10", "过滤", &T::filterSpan},
                 {"Frame10", "过滤合值[和值尾]", "Command14", "过滤", &T::filterSumTail}};
    QStringList names[4];
    for (int i = 13; i <= 22; ++i) names[0] << QStringLiteral("Check%1").arg(i);
    for (int d : kDigitOrder) names[1] << dialogs::ArrayName(QStringLiteral("Check23"), d);
    for (int i = 44; i >= 35; --i) names[2] << QStringLiteral("Check%1").arg(i);
    for (int i : {45, 46, 47, 48, 52, 53, 54, 55, 56, 57}) names[3] << QStringLiteral("Check%1").arg(i);
    QCheckBox** boxes[4] = {pickRow_, excludeRow_, spanRow_, sumTailRow_};
    for (int r = 0; r < 4; ++r) {
        QGroupBox* f = Frm(this, QString::fromLatin1(rows[r].frame), QString::fromUtf8(rows[r].caption), 2, r * 42, 402, 40);
        DigitRow(f, names[r], boxes[r]);
        rowFrames_[r] = f;
        rowButtons_[r] =
            Button(f, this, rows[r].run, QString::fromLatin1(rows[r].button), QString::fromUtf8(rows[r].buttonCaption), 346, 16);
        filterButtons_ << rowButtons_[r];
    }
    for (QCheckBox* box : pickRow_) box->setChecked(true);

    QGroupBox* f13 = Frm(this, QStringLiteral("Frame13"), QStringLiteral("二码处理"), 2, 168, 402, 68);
    twoCodes_ = Line(f13, QStringLiteral("Text1"), 6, 18, 280);
    twoCodes_->installEventFilter(new CommaOnEnter(this, true));
    QPushButton* pairs = MakeButton(f13, QStringLiteral("Command9"), QStringLiteral("设置"), 290, 17, 50, 22);
    connect(pairs, &QPushButton::clicked, this, [this] { PairPicker::Open(bench_); });
    twoCodeFilter_ = Option(f13, this, &T::twoCodeFilterMode, QStringLiteral("Option9"), QStringLiteral("过滤两码"), 6, 42, 80, true);
    twoCodeSelect_ = Option(f13, this, &T::twoCodeSelectMode, QStringLiteral("Option10"), QStringLiteral("选取两码"), 90, 42, 80);
    twoCodePosition_ = Cmb(f13, QStringLiteral("Combo10"), 176, 41, 70, false,
                           {QStringLiteral("全部"), QStringLiteral("百十"), QStringLiteral("十个"), QStringLiteral("百个")});
    twoCodeRun_ = Button(f13, this, &T::runTwoCodes, QStringLiteral("Command40"), QStringLiteral("过滤"), 346, 42);
    filterButtons_ << twoCodeRun_;
}

void CommonFiltersTab::placeCorners() {
    for (int r = 0; r < 4; ++r) {
        QWidget* b = rowButtons_[r];
        b->move(rowFrames_[r]->width() - b->width(), rowFrames_[r]->height() - b->height());
    }
}

void CommonFiltersTab::resetChoices() { twoCodePosition_->setCurrentIndex(0); }

void CommonFiltersTab::bindModel() {
    pool::CommonInputs& common = bench_.model().common;
    QCheckBox* const* rows[4] = {pickRow_, excludeRow_, spanRow_, sumTailRow_};
    for (int r = 0; r < 4; ++r)
        for (int i = 0; i < 10; ++i) Bind(this, rows[r][i], common.rows[size_t(r)][size_t(i)]);
    Bind(this, twoCodeSelect_, common.twoCodeSelect);
    common.twoCodePosition = twoCodePosition_->currentIndex();
    connect(twoCodePosition_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [&common](int position) { common.twoCodePosition = position; });
}

void CommonFiltersTab::filterSpan() {
    RunDigitRowFilter(bench_.session(), bench_.model().common.row(pool::DigitRowKind::Span), QStringLiteral(" "), QStringLiteral("跨度过滤开始"), QStringLiteral("夸度过滤："),
                      [](pool::NumberPool& p, QString& log, int v) { pool::FilterSpan(p, log, v); });
}

void CommonFiltersTab::filterSumTail() {
    RunDigitRowFilter(bench_.session(), bench_.model().common.row(pool::DigitRowKind::SumTail), QStringLiteral(" "), QStringLiteral("合值过滤开始"),
                      QStringLiteral("和值尾（合值）过滤："),
                      [](pool::NumberPool& p, QString& log, int v) { pool::FilterSumTail(p, log, v); });
}

void CommonFiltersTab::filterDigits() {
    RunDigitRowFilter(bench_.session(), bench_.model().common.row(pool::DigitRowKind::Exclude), QStringLiteral("  "), QStringLiteral("胆码过滤开始"),
                      QStringLiteral("胆码过滤："), [](pool::NumberPool& p, QString& log, int v) {
                          pool::FilterContainsDigit(p, log, QString::number(v), true);
                      });
}

void CommonFiltersTab::pickDigits() {
    // Selection: the removal marks the numbers holding a ticked digit; those are kept.
    pool::PoolSession& session = bench_.session();
    pool::NumberPool& p = session.pool;
    const pool::NumberPool copy = p;
    QString block = kNewLine + QStringLiteral("胆码选取开始") + kNewLine;
    QString items;
    int total = 0;
    for (int v : TickedValues(bench_.model().common.row(pool::DigitRowKind::Pick), QStringLiteral("  "), &items))
        total += pool::FilterContainsDigit(p, block, QString::number(v), false);
    block += kNewLine + QStringLiteral("选出") + QString::number(total) + QStringLiteral("注") + kNewLine;
    session.log.append(block);
    session.setDescription = QStringLiteral("选胆：") + items;
    pool::NumberPool kept = copy;
    for (qsizetype i = 0; i < p.size() && i < kept.size(); ++i)
        if (!p.at(i).isEmpty()) kept[i].clear();
    p = kept;
    pool::CompactSet(p);
    session.CommitSet();
}

void CommonFiltersTab::runTwoCodes() {
    const QString codes = bench_.model().input(pool::InputBox::TwoCodes).trimmed();
    bench_.setInput(pool::InputBox::TwoCodes, codes);
    bench_.showLogEnd();
    const pool::CommonInputs& common = bench_.model().common;
    pool::RunTwoCode(bench_.session(), codes, common.twoCodeSelect, common.twoCodePosition,
                          twoCodePosition_->itemText(common.twoCodePosition));
}

void CommonFiltersTab::twoCodeFilterMode() {
    showOtherTwoCodeList();
    twoCodeRun_->setText(QStringLiteral("过滤"));
}

void CommonFiltersTab::twoCodeSelectMode() {
    showOtherTwoCodeList();
    twoCodeRun_->setText(QStringLiteral("选择"));
}

// A mode switch puts the shown list aside and brings back the one the other mode left.
void CommonFiltersTab::showOtherTwoCodeList() {
    pool::CommonInputs& common = bench_.model().common;
    const QString shown = bench_.model().input(pool::InputBox::TwoCodes);
    bench_.setInput(pool::InputBox::TwoCodes, std::exchange(common.twoCodesAside, shown));
}

}  // namespace workbench
