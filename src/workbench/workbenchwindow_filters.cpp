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

// The recent-draw rows in run order: box and count list.
const char* const kRecentRowBoxes[workbench::kRecentRows][2] = {
    {"Check10", "Combo5"},  {"Check71", "Combo13"}, {"Check4", "Combo6"},   {"Check74", "Combo15"},
    {"Check79", "Combo20"}, {"Check77", "Combo18"}, {"Check76", "Combo17"}, {"Check75", "Combo16"},
    {"Check73", "Combo14"}, {"Check78", "Combo19"}};

// The digit groups in run order: switch, digit box, count array and its member for count 0
// (counts 1..3 are the members below it).
const struct {
    const char* box;
    const char* text;
    const char* counts;
    int countZero;
} kDigitGroupControls[workbench::kDigitGroups] = {{"Check81", "Text10", "Check32", 11},
                                                  {"Check80", "Text9", "Check33", 11},
                                                  {"Check70", "Text8", "Check31", 7},
                                                  {"Check63", "Text7", "Check32", 7},
                                                  {"Check62", "Text6", "Check33", 7}};

// The omission families' boxes in run order; their values are the model's omission inputs.
const char* const kOmissionBoxes[5] = {"Check5", "Check8", "Check7", "Check6", "Check82"};

}  // namespace

// The frames' controls write every change to the model; showFrameInputs shows the model again.
void WorkbenchWindow::wireFrameInputs() {
    auto bindBox = [this](const QString& name, bool& value) {
        auto* box = ctl<QCheckBox>(name);
        value = box->isChecked();
        connect(box, &QCheckBox::toggled, this, [&value](bool on) { value = on; });
    };
    auto bindCombo = [this](const QString& name, QString& value) {
        auto* combo = ctl<QComboBox>(name);
        value = combo->currentText();
        connect(combo, &QComboBox::currentTextChanged, this, [&value](const QString& text) { value = text; });
    };
    for (int r = 0; r < workbench::kRecentRows; ++r) {
        bindBox(QString::fromLatin1(kRecentRowBoxes[r][0]), model_.recent.rows[size_t(r)]);
        bindCombo(QString::fromLatin1(kRecentRowBoxes[r][1]), model_.recent.counts[size_t(r)]);
    }
    bindBox(QStringLiteral("Check68"), model_.recent.autoCollect);
    for (int k = 0; k < 3; ++k) {
        bindBox(QStringLiteral("Check%1").arg(28 + k), model_.fuzzy.on[size_t(k)]);
        for (int j = 0; j < 4; ++j)
            bindBox(dialogs::ArrayName(QStringLiteral("Check%1").arg(31 + k), j), model_.fuzzy.counts[size_t(k)][size_t(j)]);
    }
    for (int g = 0; g < workbench::kDigitGroups; ++g) {
        const auto& c = kDigitGroupControls[g];
        bindBox(QString::fromLatin1(c.box), model_.digitGroups.on[size_t(g)]);
        auto* digits = ctl<QLineEdit>(QString::fromLatin1(c.text));
        QString& value = model_.digitGroups.digits[size_t(g)];
        value = digits->text();
        connect(digits, &QLineEdit::textChanged, this, [&value](const QString& text) { value = text; });
        for (int j = 0; j < 4; ++j)
            bindBox(dialogs::ArrayName(QString::fromLatin1(c.counts), c.countZero - j),
                    model_.digitGroups.counts[size_t(g)][size_t(j)]);
    }
    bindBox(QStringLiteral("Check2"), model_.digitGroups.repeatCountsOnce);
    bindBox(QStringLiteral("Check90"), model_.digitGroups.autoCollect);
}

void WorkbenchWindow::showFrameInputs() {
    for (int r = 0; r < workbench::kRecentRows; ++r)
        ctl<QCheckBox>(QString::fromLatin1(kRecentRowBoxes[r][0]))->setChecked(model_.recent.rows[size_t(r)]);
}

// 近期过滤
void WorkbenchWindow::Command44_Click() {
    ctl<QPlainTextEdit>(QStringLiteral("Text5"))->moveCursor(QTextCursor::End);
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
    ctl<QPlainTextEdit>(QStringLiteral("Text5"))->moveCursor(QTextCursor::End);
    auto* position = ctl<QComboBox>(QStringLiteral("Combo10"));
    workbench::RunTwoCode(session_, codes, ctl<QRadioButton>(QStringLiteral("Option10"))->isChecked(),
                          position->currentIndex(), position->currentText());
}

// 模糊【断组】过滤
void WorkbenchWindow::Command43_Click() {
    ctl<QPlainTextEdit>(QStringLiteral("Text5"))->moveCursor(QTextCursor::End);
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
    ctl<QPlainTextEdit>(QStringLiteral("Text5"))->moveCursor(QTextCursor::End);
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
    ctl<QPlainTextEdit>(QStringLiteral("Text5"))->moveCursor(QTextCursor::End);
    std::array<workbench::OmissionCondition, 5> families;
    for (int f = 0; f < 5; ++f) {
        families[size_t(f)].on = ticked(QString::fromLatin1(kOmissionBoxes[f]));
        families[size_t(f)].values = model_.input(pool::InputBox(int(pool::InputBox::OmissionGroup) + f));
    }
    workbench::RunOmissionFilter(session_, common::DigitOmissionTable::Count(common::App().history), families);
}

// ---- Single-value filters ---------------------------------------------------------------

// Ticked values of a digit row, in the order 1..9, 0, and their item texts.
static QList<int> TickedValues(const WorkbenchWindow* form, const QStringList& boxes, const QString& itemSuffix, QString* items) {
    QList<int> values;
    for (int i = 0; i < 10; ++i) {
        if (!form->ctl<QCheckBox>(boxes[i])->isChecked()) continue;
        values << kDigitOrder[i];
        *items += QString::number(kDigitOrder[i]) + itemSuffix;
    }
    return values;
}

// A value filter run once for every ticked value of a digit row, as one logged run whose
// description lists the values.
static void RunDigitRowFilter(WorkbenchWindow* form, const QStringList& boxes, const QString& itemSuffix,
                              const QString& titleWithStart, const QString& description,
                              const std::function<void(pool::NumberPool&, QString&, int)>& filter) {
    QString items;
    const QList<int> values = TickedValues(form, boxes, itemSuffix, &items);
    form->session().RunFilter(titleWithStart, description + items, [&](pool::NumberPool& p, QString& log) {
        for (int v : values) filter(p, log, v);
    });
}

void WorkbenchWindow::Command10_Click() {
    const QStringList boxes = {QStringLiteral("Check44"), QStringLiteral("Check43"), QStringLiteral("Check42"),
                               QStringLiteral("Check41"), QStringLiteral("Check40"), QStringLiteral("Check39"),
                               QStringLiteral("Check38"), QStringLiteral("Check37"), QStringLiteral("Check36"),
                               QStringLiteral("Check35")};
    RunDigitRowFilter(this, boxes, QStringLiteral(" "), QStringLiteral("跨度过滤开始"), QStringLiteral("夸度过滤："),
                      [](pool::NumberPool& p, QString& log, int v) { pool::FilterSpan(p, log, v); });
}

void WorkbenchWindow::Command14_Click() {
    const QStringList boxes = {QStringLiteral("Check45"), QStringLiteral("Check46"), QStringLiteral("Check47"),
                               QStringLiteral("Check48"), QStringLiteral("Check52"), QStringLiteral("Check53"),
                               QStringLiteral("Check54"), QStringLiteral("Check55"), QStringLiteral("Check56"),
                               QStringLiteral("Check57")};
    RunDigitRowFilter(this, boxes, QStringLiteral(" "), QStringLiteral("合值过滤开始"),
                      QStringLiteral("和值尾（合值）过滤："),
                      [](pool::NumberPool& p, QString& log, int v) { pool::FilterSumTail(p, log, v); });
}

void WorkbenchWindow::Command4_Click() {
    QStringList boxes;
    for (int d : kDigitOrder) boxes << dialogs::ArrayName(QStringLiteral("Check23"), d);
    RunDigitRowFilter(this, boxes, QStringLiteral("  "), QStringLiteral("胆码过滤开始"), QStringLiteral("胆码过滤："),
                      [](pool::NumberPool& p, QString& log, int v) {
                          pool::FilterContainsDigit(p, log, QString::number(v), true);
                      });
}

void WorkbenchWindow::Command2_Click() {
    // Selection: the removal marks the numbers holding a ticked digit; those are kept.
    pool::NumberPool& p = session_.pool;
    const pool::NumberPool copy = p;
    QString block = kNewLine + QStringLiteral("胆码选取开始") + kNewLine;
    QStringList boxes;
    for (int i = 13; i <= 22; ++i) boxes << QStringLiteral("Check%1").arg(i);
    QString items;
    int total = 0;
    for (int v : TickedValues(this, boxes, QStringLiteral("  "), &items))
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
