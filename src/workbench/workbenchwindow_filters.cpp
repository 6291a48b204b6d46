// WorkbenchWindow's own filters: the single-value filters (span, sum tail, 胆码 filter and
// selection, from pool/valuefilters.h) and the recent-draw, two-code, fuzzy, digit-group and
// omission filters: the handlers read the frames' controls and hand them to the runs in
// filterruns.h.
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "dialogs/omissionpicker.h"
#include "dialogs/workbenchapi.h"
#include "pool/valuefilters.h"
#include "workbench/filterruns.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>

#include <functional>

namespace {

using pool::kNewLine;

// Values 1..9, 0 in the order the digit rows are read.
const int kDigitOrder[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0};

}  // namespace

// The frames' controls write every change to the model; showFrameInputs shows the model again.
void WorkbenchWindow::wireFrameInputs() {
    auto bindBox = [this](QCheckBox* box, bool& value) {
        value = box->isChecked();
        connect(box, &QCheckBox::toggled, this, [&value](bool on) { value = on; });
    };
    for (int r = 0; r < workbench::kRecentRows; ++r) {
        bindBox(recentRows_[r], model_.recent.rows[size_t(r)]);
        QString& count = model_.recent.counts[size_t(r)];
        count = recentCounts_[r]->currentText();
        connect(recentCounts_[r], &QComboBox::currentTextChanged, this, [&count](const QString& text) { count = text; });
    }
    bindBox(recentAutoCollect_, model_.recent.autoCollect);
    for (int k = 0; k < 3; ++k) {
        bindBox(fuzzyBoxes_[k], model_.fuzzy.on[size_t(k)]);
        for (int j = 0; j < 4; ++j) bindBox(fuzzyCounts_[k][j], model_.fuzzy.counts[size_t(k)][size_t(j)]);
    }
    for (int g = 0; g < workbench::kDigitGroups; ++g) {
        bindBox(groupBoxes_[g], model_.digitGroups.on[size_t(g)]);
        QString& value = model_.digitGroups.digits[size_t(g)];
        value = groupDigits_[g]->text();
        connect(groupDigits_[g], &QLineEdit::textChanged, this, [&value](const QString& text) { value = text; });
        for (int j = 0; j < 4; ++j) bindBox(groupCounts_[g][j], model_.digitGroups.counts[size_t(g)][size_t(j)]);
    }
    bindBox(groupRepeatOnce_, model_.digitGroups.repeatCountsOnce);
    bindBox(groupAutoCollect_, model_.digitGroups.autoCollect);
}

void WorkbenchWindow::showFrameInputs() {
    for (int r = 0; r < workbench::kRecentRows; ++r) recentRows_[r]->setChecked(model_.recent.rows[size_t(r)]);
}

// 近期过滤
void WorkbenchWindow::Command44_Click() {
    log_->moveCursor(QTextCursor::End);
    std::array<workbench::RecentRow, workbench::kRecentRows> rows;
    for (int r = 0; r < workbench::kRecentRows; ++r) {
        rows[size_t(r)].ticked = model_.recent.rows[size_t(r)];
        rows[size_t(r)].countText = model_.recent.counts[size_t(r)];
    }
    const bool autoCollect = model_.recent.autoCollect;
    const auto ran = workbench::RunRecentFilter(session_, common::App().history, rows, autoCollect,
                                                common::App().straightMode, [this](const QString& description) {
                                                    workbench::AutoCollectionPause();
                                                    session_.setDescription = description;
                                                    Command11_Click();
                                                    return collectionSaved_;
                                                });
    // A row that ran is consumed; the others keep their tick.
    for (int r = 0; r < workbench::kRecentRows; ++r)
        if (ran[size_t(r)]) model_.recent.rows[size_t(r)] = false;
    showFrameInputs();
}

// 二码处理: 过滤 / 选择
void WorkbenchWindow::Command40_Click() {
    const QString codes = model_.input(pool::InputBox::TwoCodes).trimmed();
    setInput(pool::InputBox::TwoCodes, codes);
    log_->moveCursor(QTextCursor::End);
    QComboBox* position = twoCodePosition_;
    workbench::RunTwoCode(session_, codes, twoCodeSelect_->isChecked(),
                          position->currentIndex(), position->currentText());
}

// 模糊【断组】过滤
void WorkbenchWindow::Command43_Click() {
    log_->moveCursor(QTextCursor::End);
    std::array<pool::FuzzyRule, 3> rules;
    for (int k = 0; k < 3; ++k) {
        rules[size_t(k)] = pool::FuzzyRule::FromText(model_.fuzzy.on[size_t(k)],
                                                     model_.input(pool::InputBox(int(pool::InputBox::FuzzyDigits1) + k)),
                                                     model_.fuzzy.counts[size_t(k)]);
    }
    workbench::RunFuzzy(session_, rules);
}

// 胆码组合过滤
void WorkbenchWindow::Command63_Click() {
    std::array<workbench::DigitGroup, workbench::kDigitGroups> groups;
    for (int g = 0; g < workbench::kDigitGroups; ++g) {
        workbench::DigitGroup& group = groups[size_t(g)];
        group.on = model_.digitGroups.on[size_t(g)];
        group.digits = model_.digitGroups.digits[size_t(g)];
        group.counts = model_.digitGroups.counts[size_t(g)];
    }
    log_->moveCursor(QTextCursor::End);
    workbench::RunDigitGroups(session_, groups, model_.digitGroups.repeatCountsOnce, model_.digitGroups.autoCollect,
                              [this](const QString& description) {
                                  workbench::AutoCollectionPause();
                                  session_.setDescription = description;
                                  Command11_Click();
                                  return collectionSaved_;
                              });
}

// 遗漏过滤: 设置
void WorkbenchWindow::Command36_Click() { OmissionPicker::Open(); }

// 遗漏过滤: 过滤
void WorkbenchWindow::Command37_Click() {
    log_->moveCursor(QTextCursor::End);
    std::array<workbench::OmissionCondition, 5> families;
    for (int f = 0; f < 5; ++f) {
        families[size_t(f)].on = omissionBoxes_[f]->isChecked();
        families[size_t(f)].values = model_.input(pool::InputBox(int(pool::InputBox::OmissionGroup) + f));
    }
    workbench::RunOmissionFilter(session_, common::DigitOmissionTable::Count(common::App().history), families);
}

// ---- Single-value filters ---------------------------------------------------------------

// Ticked values of a digit row, in the order 1..9, 0, and their item texts.
static QList<int> TickedValues(QCheckBox* const* row, const QString& itemSuffix, QString* items) {
    QList<int> values;
    for (int i = 0; i < 10; ++i) {
        if (!row[i]->isChecked()) continue;
        values << kDigitOrder[i];
        *items += QString::number(kDigitOrder[i]) + itemSuffix;
    }
    return values;
}

// A value filter run once for every ticked value of a digit row, as one logged run whose
// description lists the values.
static void RunDigitRowFilter(pool::PoolSession& session, QCheckBox* const* row, const QString& itemSuffix,
                              const QString& titleWithStart, const QString& description,
                              const std::function<void(pool::NumberPool&, QString&, int)>& filter) {
    QString items;
    const QList<int> values = TickedValues(row, itemSuffix, &items);
    session.RunFilter(titleWithStart, description + items, [&](pool::NumberPool& p, QString& log) {
        for (int v : values) filter(p, log, v);
    });
}

void WorkbenchWindow::Command10_Click() {
    RunDigitRowFilter(session_, spanRow_, QStringLiteral(" "), QStringLiteral("跨度过滤开始"), QStringLiteral("夸度过滤："),
                      [](pool::NumberPool& p, QString& log, int v) { pool::FilterSpan(p, log, v); });
}

void WorkbenchWindow::Command14_Click() {
    RunDigitRowFilter(session_, sumTailRow_, QStringLiteral(" "), QStringLiteral("合值过滤开始"),
                      QStringLiteral("和值尾（合值）过滤："),
                      [](pool::NumberPool& p, QString& log, int v) { pool::FilterSumTail(p, log, v); });
}

void WorkbenchWindow::Command4_Click() {
    RunDigitRowFilter(session_, excludeRow_, QStringLiteral("  "), QStringLiteral("胆码过滤开始"), QStringLiteral("胆码过滤："),
                      [](pool::NumberPool& p, QString& log, int v) {
                          pool::FilterContainsDigit(p, log, QString::number(v), true);
                      });
}

void WorkbenchWindow::Command2_Click() {
    // Selection: the removal marks the numbers holding a ticked digit; those are kept.
    pool::NumberPool& p = session_.pool;
    const pool::NumberPool copy = p;
    QString block = kNewLine + QStringLiteral("胆码选取开始") + kNewLine;
    QString items;
    int total = 0;
    for (int v : TickedValues(pickRow_, QStringLiteral("  "), &items))
        total += pool::FilterContainsDigit(p, block, QString::number(v), false);
    block += kNewLine + QStringLiteral("选出") + QString::number(total) + QStringLiteral("注") + kNewLine;
    appendLog(block);
    session_.setDescription = QStringLiteral("选胆：") + items;
    pool::NumberPool kept = copy;
    for (qsizetype i = 0; i < p.size() && i < kept.size(); ++i)
        if (!p.at(i).isEmpty()) kept[i].clear();
    p = kept;
    pool::CompactSet(p);
    session_.CommitSet();
}
